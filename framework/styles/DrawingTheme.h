#pragma once

// The drawing themes the visual styles select.
enum class DrawingTheme {
    Windows2000, // the plain default
    OfficeXP,
    WindowsXP, // follows the system colours of that era
    Office2003,
    VisualStudio2005,
    Office2007,
};

// The colour variants of the Office 2007 theme. The values are the stored
// style numbers and do not follow the menu order.
enum class Office2007Style {
    Blue = 0,
    Black = 1,
    Aqua = 2,
    Silver = 3,
};

// How dragged panes find their place.
enum class DockingMode {
    Standard = 0, // an outline follows the mouse
    Smart = 128,  // docking guides appear over the target
};
