#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QRect>

// The About box: the application icon, the version line, a copyright line
// and a default OK button, laid out on a fixed grid of dialog units so it
// scales with the dialog font as a resource dialog does.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    // Dialog size and control rectangles, in dialog units.
    static constexpr QSize kSize{170, 62};
    static constexpr QRect kIconRect{14, 14, 21, 20};
    static constexpr QRect kVersionRect{42, 14, 114, 8};
    static constexpr QRect kCopyrightRect{42, 26, 114, 8};
    static constexpr QRect kOkRect{113, 41, 50, 14};

    explicit CAboutDlg(QWidget* parent = nullptr);

    // Dialog units in pixels for `font`: a horizontal unit is a quarter of
    // the font's average character width (the mean advance of the 52 Latin
    // letters, rounded), a vertical unit an eighth of its height.
    static QSize BaseUnits(const QFont& font);
    static QRect MapDialogRect(const QRect& units, const QSize& base);

    QLabel& Icon() { return m_icon; }
    QLabel& VersionText() { return m_version; }
    QLabel& CopyrightText() { return m_copyright; }
    QPushButton& OkButton() { return m_ok; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void Layout();

    QLabel m_icon;
    QLabel m_version;
    QLabel m_copyright;
    QPushButton m_ok;
};
