#include "shell/ApplicationLook.h"

#include "framework/settings/SettingsStore.h"
#include "framework/styles/VisualStyles.h"
#include "resources/ApplicationIds.h"

void ApplyApplicationLook(VisualStyles& styles, unsigned id) {
    using namespace CommandId;
    switch (id) {
    case AppLookWindows2000:
        return styles.ApplyVisualStyle(DrawingTheme::Windows2000);
    case AppLookOfficeXP:
        return styles.ApplyVisualStyle(DrawingTheme::OfficeXP);
    case AppLookWindowsXP:
        return styles.ApplyVisualStyle(DrawingTheme::WindowsXP);
    case AppLookOffice2003:
        return styles.ApplyVisualStyle(DrawingTheme::Office2003);
    case AppLookVisualStudio2005:
        return styles.ApplyVisualStyle(DrawingTheme::VisualStudio2005);
    case AppLookOffice2007Blue:
        return styles.ApplyVisualStyle(DrawingTheme::Office2007, Office2007Style::Blue);
    case AppLookOffice2007Black:
        return styles.ApplyVisualStyle(DrawingTheme::Office2007, Office2007Style::Black);
    case AppLookOffice2007Silver:
        return styles.ApplyVisualStyle(DrawingTheme::Office2007, Office2007Style::Silver);
    case AppLookOffice2007Aqua:
        return styles.ApplyVisualStyle(DrawingTheme::Office2007, Office2007Style::Aqua);
    default:
        return styles.ApplyVisualStyle(DrawingTheme::Office2007);
    }
}

void ApplicationLookChoice::Load(const SettingsStore& settings) {
    m_current = unsigned(settings.GetInt(QString::fromLatin1(kSettingsKey), int(kDefault)));
}

void ApplicationLookChoice::Set(unsigned id, VisualStyles& styles, SettingsStore& settings) {
    m_current = id;
    ApplyApplicationLook(styles, id);
    settings.WriteInt(QString::fromLatin1(kSettingsKey), int(id));
}
