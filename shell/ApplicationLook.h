#pragma once

class SettingsStore;
class VisualStyles;

// Applies the visual style of command `id` to `styles`:
//   210 Windows 2000, 211 Office XP, 212 Windows XP, 213 Office 2003,
//   214 Visual Studio 2005, 215..218 Office 2007 blue, black, silver, aqua;
//   any other id (a stored value can be anything): Office 2007 in the colours
//   in force.
void ApplyApplicationLook(VisualStyles& styles, unsigned id);

// The visual style in force, by the command id that chose it (210..218, or
// whatever the settings held), kept in the settings between runs. The
// application owns the choice; the frame reads it when it is made and
// changes it from the Style menu.
class ApplicationLookChoice {
public:
    static constexpr char kSettingsKey[] = "ApplicationLook";
    static constexpr unsigned kDefault = 217; // Office 2007, silver

    unsigned Current() const { return m_current; }
    // Takes the stored choice (kDefault when none); applies nothing.
    void Load(const SettingsStore& settings);
    // Applies style `id` to `styles` and stores it.
    void Set(unsigned id, VisualStyles& styles, SettingsStore& settings);

private:
    unsigned m_current = 0;
};
