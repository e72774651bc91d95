#pragma once

#include <QAbstractButton>
#include <QTabBar>

class QStyleOptionTab;

// The tab that stands for a collapsed pane on an auto-hide bar. Drawn as a
// tab of the current style, turned to face the frame edge it sits on. It
// never takes the focus, so clicking it leaves the focus where the user had it.
class AutoHideTab : public QAbstractButton {
    Q_OBJECT
public:
    AutoHideTab(const QString& text, Qt::DockWidgetArea edge, QWidget* parent = nullptr);

    Qt::DockWidgetArea Edge() const { return m_edge; }
    bool IsVertical() const;

    // Sized as the style sizes a tab of a tab bar, so its caption fits
    // whatever padding and font the style gives it.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    // The option the tab is drawn with.
    void initStyleOption(QStyleOptionTab* option) const;

signals:
    // The mouse came onto the tab / left it.
    void hovered();
    void left();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QTabBar::Shape Shape() const;

    Qt::DockWidgetArea m_edge;
};
