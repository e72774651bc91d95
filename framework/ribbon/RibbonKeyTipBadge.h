#pragma once

#include "framework/styles/ThemeColours.h"

#include <QWidget>

// The little box with a key tip's letters, shown over its element while the
// ribbon is driven from the keyboard. A window of its own, so that it can sit
// over popups as well; it never takes the focus or the mouse.
class RibbonKeyTipBadge : public QWidget {
    Q_OBJECT
public:
    RibbonKeyTipBadge(const QString& keys, bool enabled, const ThemeColours& colours);

    QString Keys() const { return m_keys; }
    bool IsEnabled() const { return m_enabled; }
    // Centres the badge on `globalPos`.
    void CentreOn(const QPoint& globalPos);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_keys;
    bool m_enabled;
    ThemeColours m_colours;
};
