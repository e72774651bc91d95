#include "framework/styles/ThemeColours.h"

#include "framework/styles/StyleRoles.h"

#include <QColor>

#include <cmath>

namespace {

// window, windowText, base, text, button, buttonText, highlight, highlightedText,
// caption top/bottom/text, ribbon top/bottom/text, border, status top/bottom/text
constexpr ThemeColours kWindows2000 = {
    0xFFD4D0C8, 0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFFD4D0C8, 0xFF000000,
    0xFF0A246A, 0xFFFFFFFF, 0xFF0A246A, 0xFFA6CAF0, 0xFFFFFFFF, 0xFFD4D0C8,
    0xFFD4D0C8, 0xFF000000, 0xFF808080, 0xFFD4D0C8, 0xFFD4D0C8, 0xFF000000,
};
constexpr ThemeColours kOfficeXP = {
    0xFFF7F6F3, 0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFFDBD8D1, 0xFF000000,
    0xFFB6BDD2, 0xFF000000, 0xFFDBD8D1, 0xFFDBD8D1, 0xFF000000, 0xFFFCFCF9,
    0xFFDBD8D1, 0xFF000000, 0xFFA7A6AA, 0xFFEFEDE6, 0xFFDBD8D1, 0xFF000000,
};
constexpr ThemeColours kWindowsXP = {
    0xFFECE9D8, 0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFFECE9D8, 0xFF000000,
    0xFF316AC5, 0xFFFFFFFF, 0xFF3A93FF, 0xFF0054E3, 0xFFFFFFFF, 0xFFFAF9F4,
    0xFFE3DFCC, 0xFF000000, 0xFFACA899, 0xFFF1EFE2, 0xFFD6D2C2, 0xFF000000,
};
constexpr ThemeColours kOffice2003 = {
    0xFFC3DAF9, 0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFFDDECFE, 0xFF000000,
    0xFFFFEEC2, 0xFF000000, 0xFF5B86D1, 0xFF2D4B96, 0xFFFFFFFF, 0xFFE3EFFF,
    0xFF9DBDEE, 0xFF000000, 0xFF6A8CCB, 0xFFC3DAF9, 0xFFA5C2EC, 0xFF000000,
};
constexpr ThemeColours kVisualStudio2005 = {
    0xFFE5E3DA, 0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFFF5F4EE, 0xFF000000,
    0xFFC1D2EE, 0xFF000000, 0xFF3B80ED, 0xFF1E5BC2, 0xFFFFFFFF, 0xFFFAFAF7,
    0xFFD5D2C7, 0xFF000000, 0xFF7F9DB9, 0xFFEEEDE5, 0xFFD8D5CA, 0xFF000000,
};
constexpr ThemeColours kOffice2007Blue = {
    0xFFBFDBFF, 0xFF15428B, 0xFFFFFFFF, 0xFF000000, 0xFFD6E8FF, 0xFF15428B,
    0xFFFFD767, 0xFF000000, 0xFFE4EFFD, 0xFFC2D9F5, 0xFF15428B, 0xFFDBE6F4,
    0xFFC7DAF2, 0xFF15428B, 0xFF8DB2E3, 0xFFC4DDFF, 0xFFADD1FF, 0xFF15428B,
};
constexpr ThemeColours kOffice2007Black = {
    0xFF535353, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000, 0xFF6B6B6B, 0xFFFFFFFF,
    0xFFFFC55F, 0xFF000000, 0xFF7A7A7A, 0xFF4F4F4F, 0xFFFFFFFF, 0xFF474747,
    0xFF2F2F2F, 0xFFFFFFFF, 0xFF1F1F1F, 0xFF5C5C5C, 0xFF3F3F3F, 0xFFFFFFFF,
};
constexpr ThemeColours kOffice2007Silver = {
    0xFFD0D4DD, 0xFF4C535C, 0xFFFFFFFF, 0xFF000000, 0xFFE6E9EE, 0xFF4C535C,
    0xFFFFD86A, 0xFF000000, 0xFFF3F4F6, 0xFFD5D9E0, 0xFF4C535C, 0xFFEFF1F4,
    0xFFD4D8E0, 0xFF4C535C, 0xFFA5ACB5, 0xFFE9ECF0, 0xFFC8CDD5, 0xFF4C535C,
};
constexpr ThemeColours kOffice2007Aqua = {
    0xFFC6D6E3, 0xFF1E3950, 0xFFFFFFFF, 0xFF000000, 0xFFDCE6EE, 0xFF1E3950,
    0xFF8CB6DE, 0xFF000000, 0xFFE3EDF5, 0xFFB4CADD, 0xFF1E3950, 0xFFDDE8F1,
    0xFFBCD0E0, 0xFF1E3950, 0xFF7A9CB8, 0xFFCFDEEA, 0xFFA9C2D6, 0xFF1E3950,
};

QString Hex(QRgb rgb) {
    return QColor(rgb).name();
}

QString Gradient(QRgb top, QRgb bottom) {
    return QStringLiteral("qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, stop:1 %2)")
        .arg(Hex(top), Hex(bottom));
}

QString RoleSelector(const char* role) {
    return QStringLiteral("*[%1=\"%2\"]")
        .arg(QLatin1String(StyleRole::kProperty), QLatin1String(role));
}

} // namespace

QColor Mix(const QColor& a, const QColor& b, qreal amount) {
    const auto blend = [amount](int x, int y) { return int(std::lround(x + (y - x) * amount)); };
    return QColor(blend(a.red(), b.red()), blend(a.green(), b.green()), blend(a.blue(), b.blue()));
}

const ThemeColours& ColoursOf(DrawingTheme theme, Office2007Style office2007Style) {
    switch (theme) {
    case DrawingTheme::Windows2000:
        return kWindows2000;
    case DrawingTheme::OfficeXP:
        return kOfficeXP;
    case DrawingTheme::WindowsXP:
        return kWindowsXP;
    case DrawingTheme::Office2003:
        return kOffice2003;
    case DrawingTheme::VisualStudio2005:
        return kVisualStudio2005;
    case DrawingTheme::Office2007:
        break;
    }
    switch (office2007Style) {
    case Office2007Style::Black:
        return kOffice2007Black;
    case Office2007Style::Silver:
        return kOffice2007Silver;
    case Office2007Style::Aqua:
        return kOffice2007Aqua;
    case Office2007Style::Blue:
        break;
    }
    return kOffice2007Blue;
}

QPalette PaletteOf(const ThemeColours& c) {
    QPalette palette{QColor(c.button), QColor(c.window)};
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::WindowText, QColor(c.windowText));
        palette.setColor(group, QPalette::Base, QColor(c.base));
        palette.setColor(group, QPalette::AlternateBase, Mix(QColor(c.base), QColor(c.window)));
        palette.setColor(group, QPalette::Text, QColor(c.text));
        palette.setColor(group, QPalette::ButtonText, QColor(c.buttonText));
        palette.setColor(group, QPalette::Highlight, QColor(c.highlight));
        palette.setColor(group, QPalette::HighlightedText, QColor(c.highlightedText));
        palette.setColor(group, QPalette::ToolTipBase, QColor(c.base));
        palette.setColor(group, QPalette::ToolTipText, QColor(c.text));
    }
    // Disabled text sits halfway between the text and what it is drawn on.
    palette.setColor(QPalette::Disabled, QPalette::WindowText,
                     Mix(QColor(c.windowText), QColor(c.window)));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText,
                     Mix(QColor(c.buttonText), QColor(c.button)));
    palette.setColor(QPalette::Disabled, QPalette::Text, Mix(QColor(c.text), QColor(c.window)));
    palette.setColor(QPalette::Disabled, QPalette::Base, QColor(c.window));
    return palette;
}

QString StyleSheetOf(const ThemeColours& c) {
    const QString caption = Gradient(c.captionTop, c.captionBottom);
    const QString ribbon = Gradient(c.ribbonTop, c.ribbonBottom);
    const QString status = Gradient(c.statusTop, c.statusBottom);
    const QString border = Hex(c.border);
    QString sheet;
    sheet += QStringLiteral("QMainWindow { background: %1; }\n").arg(Hex(c.window));
    sheet += QStringLiteral("QMainWindow::separator { background: %1; width: 4px; height: 4px; }\n")
                 .arg(border);
    sheet += QStringLiteral("QDockWidget { color: %1; }\n").arg(Hex(c.captionText));
    sheet += QStringLiteral("QDockWidget::title { background: %1; padding: 3px; }\n").arg(caption);
    sheet += QStringLiteral("%1 { background: %2; color: %3; }\n")
                 .arg(RoleSelector(StyleRole::kPaneCaption), caption, Hex(c.captionText));
    sheet += QStringLiteral("%1 { background: %2; color: %3; border-bottom: 1px solid %4; }\n")
                 .arg(RoleSelector(StyleRole::kRibbon), ribbon, Hex(c.ribbonText), border);
    sheet += QStringLiteral("%1 { border: 1px solid %2; border-radius: 3px; }\n")
                 .arg(RoleSelector(StyleRole::kRibbonPanel), border);
    sheet += QStringLiteral("%1 { color: %2; }\n")
                 .arg(RoleSelector(StyleRole::kRibbonPanelCaption), Hex(c.ribbonText));
    sheet += QStringLiteral("%1 { background: %2; border: 1px solid %3; }\n")
                 .arg(RoleSelector(StyleRole::kAutoHideBar), Hex(c.window), border);
    sheet += QStringLiteral("%1 { background: %2; border-bottom: 1px solid %3; }\n")
                 .arg(RoleSelector(StyleRole::kAddressBar), ribbon, border);
    sheet += QStringLiteral("QStatusBar { background: %1; color: %2; border-top: 1px solid %3; }\n")
                 .arg(status, Hex(c.statusText), border);
    sheet += QStringLiteral("QStatusBar QLabel { color: %1; }\n").arg(Hex(c.statusText));
    return sheet;
}
