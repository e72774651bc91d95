#include "shell/AboutDlg.h"

#include "velmora/Version.h"

#include "resources/Resources.h"

#include <QEvent>
#include <QFontMetrics>

#include <algorithm>

namespace {

// a * b / c rounded to the nearest integer, as dialog-unit conversion rounds.
int MulDiv(int a, int b, int c) {
    return (a * b + c / 2) / c;
}

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_icon(this), m_version(this),
      m_copyright(this), m_ok(this) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(QStringLiteral("About Velmora"));
    setModal(true);

    m_icon.setObjectName(QStringLiteral("icon"));
    m_icon.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Plain text: an ampersand is a character, never an access key.
    m_version.setObjectName(QStringLiteral("version"));
    m_version.setTextFormat(Qt::PlainText);
    m_version.setText(QStringLiteral("Velmora, Version %1").arg(QLatin1String(kVelmoraVersion)));
    // Short enough for its 114 units, as any line of the box must be.
    m_copyright.setObjectName(QStringLiteral("copyright"));
    m_copyright.setTextFormat(Qt::PlainText);
    m_copyright.setText(QStringLiteral("\u00a9 2026 Velmora developers"));

    m_ok.setObjectName(QStringLiteral("ok"));
    m_ok.setText(QStringLiteral("OK"));
    m_ok.setDefault(true);
    m_ok.setFocus();
    connect(&m_ok, &QPushButton::clicked, this, &QDialog::accept);

    Layout();
}

QSize CAboutDlg::BaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {std::max(1, MulDiv(letters, 1, 52)), std::max(1, metrics.height())};
}

QRect CAboutDlg::MapDialogRect(const QRect& units, const QSize& base) {
    return {MulDiv(units.x(), base.width(), 4), MulDiv(units.y(), base.height(), 8),
            MulDiv(units.width(), base.width(), 4), MulDiv(units.height(), base.height(), 8)};
}

void CAboutDlg::Layout() {
    const QSize base = BaseUnits(font());
    setFixedSize(MapDialogRect(QRect(QPoint(0, 0), kSize), base).size());

    const QRect icon = MapDialogRect(kIconRect, base);
    m_icon.setGeometry(icon);
    const int side = std::min(icon.width(), icon.height());
    m_icon.setPixmap(ApplicationIcon().pixmap(QSize(side, side), devicePixelRatioF()));

    m_version.setGeometry(MapDialogRect(kVersionRect, base));
    m_copyright.setGeometry(MapDialogRect(kCopyrightRect, base));
    m_ok.setGeometry(MapDialogRect(kOkRect, base));
}

void CAboutDlg::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    // A new dialog font moves and resizes everything, as the units follow it.
    if (event->type() == QEvent::FontChange)
        Layout();
}
