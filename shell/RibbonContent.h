#pragma once

class CommandRouter;
class ImageStrip;
class RibbonApplicationButton;
class RibbonBar;

// Fills the ribbon: the application button and its main panel ("File"), the
// "&Home" category with its "Clipboard" and "View" panels, the "Style" menu
// and About on the tab row, and the quick-access toolbar. Every element issues
// its command through `router`'s shared action for its id. Called once, on an
// empty ribbon.
void BuildRibbonContent(RibbonBar& ribbon, RibbonApplicationButton& appButton,
                        ImageStrip& panelImages, CommandRouter& router);
