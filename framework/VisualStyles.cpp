#include "VisualStyles.h"

#include "CommandIds.h"
#include "ThemeColours.h"
#include "WaitCursor.h"

#include <QApplication>

VisualStyles::VisualStyles(QObject* parent) : QObject(parent) {}

void VisualStyles::SetDockingMode(DockingMode mode) {
    if (mode == m_docking)
        return;
    m_docking = mode;
    emit DockingModeChanged(mode);
}

void VisualStyles::SelectTheme(unsigned id) {
    switch (id) {
    case CommandId::AppLookWindows2000:
        m_theme = DrawingTheme::Windows2000;
        return;
    case CommandId::AppLookOfficeXP:
        m_theme = DrawingTheme::OfficeXP;
        return;
    case CommandId::AppLookWindowsXP:
        m_xpThemed3dTabs = true;
        m_theme = DrawingTheme::WindowsXP;
        return;
    case CommandId::AppLookOffice2003:
        m_theme = DrawingTheme::Office2003;
        break;
    case CommandId::AppLookVisualStudio2005:
        m_theme = DrawingTheme::VisualStudio2005;
        break;
    case CommandId::AppLookOffice2007Blue:
        m_officeStyle = Office2007Style::Blue;
        m_theme = DrawingTheme::Office2007;
        break;
    case CommandId::AppLookOffice2007Black:
        m_officeStyle = Office2007Style::Black;
        m_theme = DrawingTheme::Office2007;
        break;
    case CommandId::AppLookOffice2007Silver:
        m_officeStyle = Office2007Style::Silver;
        m_theme = DrawingTheme::Office2007;
        break;
    case CommandId::AppLookOffice2007Aqua:
        m_officeStyle = Office2007Style::Aqua;
        m_theme = DrawingTheme::Office2007;
        break;
    default:
        // An unknown id (a stored value can be anything) keeps the Office
        // 2007 style in force.
        m_theme = DrawingTheme::Office2007;
        break;
    }
    SetDockingMode(DockingMode::Smart);
}

void VisualStyles::ApplyVisualStyle(unsigned id) {
    const WaitCursor wait;
    SelectTheme(id);
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        const QPalette palette = Palette();
        app->setPalette(palette);
        // Item views draw their branch arrows and focus marks in the window
        // text colour on the base colour: dark themes pair light window text
        // with a light base, which would hide them.
        QPalette views = palette;
        for (const auto group : {QPalette::Active, QPalette::Inactive})
            views.setColor(group, QPalette::WindowText, palette.color(group, QPalette::Text));
        app->setPalette(views, "QAbstractItemView");
        app->setStyleSheet(StyleSheet());
    }
    emit ThemeChanged();
}

QPalette VisualStyles::Palette() const {
    return PaletteOf(ColoursOf(m_theme, m_officeStyle));
}

QString VisualStyles::StyleSheet() const {
    return StyleSheetOf(ColoursOf(m_theme, m_officeStyle));
}
