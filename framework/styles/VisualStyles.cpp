#include "framework/styles/VisualStyles.h"

#include "framework/styles/StyleRoles.h"
#include "framework/styles/ThemeColours.h"
#include "framework/styles/WaitCursor.h"

#include <QApplication>

VisualStyles::VisualStyles(QObject* parent) : QObject(parent) {}

void VisualStyles::SetDockingMode(DockingMode mode) {
    if (mode == m_docking)
        return;
    m_docking = mode;
    emit DockingModeChanged(mode);
}

void VisualStyles::SelectTheme(DrawingTheme theme, std::optional<Office2007Style> officeStyle) {
    m_theme = theme;
    if (officeStyle)
        m_officeStyle = *officeStyle;
    switch (theme) {
    case DrawingTheme::Windows2000:
    case DrawingTheme::OfficeXP:
        return;
    case DrawingTheme::WindowsXP:
        m_xpThemed3dTabs = true;
        return;
    default:
        SetDockingMode(DockingMode::Smart);
        return;
    }
}

void VisualStyles::ApplyVisualStyle(DrawingTheme theme,
                                    std::optional<Office2007Style> officeStyle) {
    const WaitCursor wait;
    SelectTheme(theme, officeStyle);
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
        app->setProperty(StyleRole::kTreeLines, DrawsTreeLines());
        app->setStyleSheet(StyleSheet());
    }
    emit ThemeChanged();
}

bool VisualStyles::DrawsTreeLines() const {
    return m_theme != DrawingTheme::Office2007;
}

QPalette VisualStyles::Palette() const {
    return PaletteOf(ColoursOf(m_theme, m_officeStyle));
}

QString VisualStyles::StyleSheet() const {
    return StyleSheetOf(ColoursOf(m_theme, m_officeStyle));
}
