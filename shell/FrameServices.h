#pragma once

class ApplicationLookChoice;
class CommandRouter;
class SettingsStore;
class VisualStyles;

// What the main frame and its view use of the application, handed to them
// when they are made: the command route (they are its frame and view
// stages), the settings store (the window's layout between runs) and the
// visual styles with the choice among them. Each must outlive the frame.
struct FrameServices {
    CommandRouter& router;
    SettingsStore& settings;
    VisualStyles& styles;
    ApplicationLookChoice& look;
};
