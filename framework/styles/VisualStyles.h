#pragma once

#include "framework/styles/DrawingTheme.h"

#include <QObject>
#include <QPalette>
#include <QString>

#include <optional>

// The drawing theme of the whole application and the docking mode that goes
// with it. The theme's palette and style sheet are set on the application
// (see StyleRoles.h for the hooks window code gives its widgets).
//
//   Windows 2000, Office XP, Windows XP:  docking mode untouched
//   Office 2003, Visual Studio 2005:      docking mode smart
//   Office 2007 (in one of its colours):  docking mode smart
class VisualStyles : public QObject {
    Q_OBJECT

public:
    explicit VisualStyles(QObject* parent = nullptr);

    // Selects `theme` and applies it, showing the wait cursor meanwhile. For
    // Office 2007, `officeStyle` picks its colours; without one the colours in
    // force stay.
    void ApplyVisualStyle(DrawingTheme theme,
                          std::optional<Office2007Style> officeStyle = std::nullopt);

    DrawingTheme Theme() const { return m_theme; }
    Office2007Style OfficeStyle() const { return m_officeStyle; }
    DockingMode Docking() const { return m_docking; }
    void SetDockingMode(DockingMode mode);
    // Switched on by the Windows XP style and left on.
    bool XpThemed3dTabs() const { return m_xpThemed3dTabs; }

    // The classic themes draw dotted lines between the items of trees that
    // ask for them; Office 2007 draws none.
    bool DrawsTreeLines() const;

    // The palette and style sheet of the current theme.
    QPalette Palette() const;
    QString StyleSheet() const;

signals:
    void ThemeChanged();
    void DockingModeChanged(DockingMode mode);

private:
    void SelectTheme(DrawingTheme theme, std::optional<Office2007Style> officeStyle);

    // The plain default theme until a style is applied; Office 2007 starts blue.
    DrawingTheme m_theme = DrawingTheme::Windows2000;
    Office2007Style m_officeStyle = Office2007Style::Blue;
    DockingMode m_docking = DockingMode::Standard;
    bool m_xpThemed3dTabs = false;
};
