#pragma once

#include "DrawingTheme.h"

#include <QObject>
#include <QPalette>
#include <QString>

// The drawing theme of the whole application and the docking mode that goes
// with it. A visual-style command id (210..218) selects a theme; the theme's
// palette and style sheet are set on the application (see StyleRoles.h for the
// hooks window code gives its widgets).
//
//   210 Windows 2000, 211 Office XP, 212 Windows XP: docking mode untouched
//   213 Office 2003, 214 Visual Studio 2005:         docking mode smart
//   215..218 Office 2007 blue, black, silver, aqua:  style 0, 1, 3, 2; smart
//   any other id: Office 2007 in the style in force; smart
class VisualStyles : public QObject {
    Q_OBJECT

public:
    explicit VisualStyles(QObject* parent = nullptr);

    // Selects the theme of `id` and applies it, showing the wait cursor
    // meanwhile.
    void ApplyVisualStyle(unsigned id);

    DrawingTheme Theme() const { return m_theme; }
    Office2007Style OfficeStyle() const { return m_officeStyle; }
    DockingMode Docking() const { return m_docking; }
    void SetDockingMode(DockingMode mode);
    // Switched on by the Windows XP style and left on.
    bool XpThemed3dTabs() const { return m_xpThemed3dTabs; }

    // The palette and style sheet of the current theme.
    QPalette Palette() const;
    QString StyleSheet() const;

signals:
    void ThemeChanged();
    void DockingModeChanged(DockingMode mode);

private:
    void SelectTheme(unsigned id);

    // The plain default theme until a style is applied; Office 2007 starts blue.
    DrawingTheme m_theme = DrawingTheme::Windows2000;
    Office2007Style m_officeStyle = Office2007Style::Blue;
    DockingMode m_docking = DockingMode::Standard;
    bool m_xpThemed3dTabs = false;
};
