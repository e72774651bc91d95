#pragma once

#include <QToolButton>
#include <QWidget>

// The caption strip of a pane: its caption text, a pin button and a close
// button. Used as the title bar of a docked pane and of a pane slid in from
// its auto-hide tab. Mouse presses outside the buttons are left to the parent,
// so a dock widget can still be dragged and double-clicked by its caption.
class PaneTitleBar : public QWidget {
    Q_OBJECT
public:
    explicit PaneTitleBar(QWidget* parent = nullptr);

    void SetCaption(const QString& caption);
    QString Caption() const { return m_caption; }
    // Pinned: the pane is docked; unpinned: it lives behind an auto-hide tab.
    void SetPinned(bool pinned);
    void SetPinVisible(bool visible);
    void SetCloseVisible(bool visible);

    QToolButton* PinButton() { return &m_pin; }
    QToolButton* CloseButton() { return &m_close; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void pinClicked();
    void closeClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void UpdateIcons();
    int ButtonsWidth() const;

    QString m_caption;
    bool m_pinned = true;
    QToolButton m_pin;
    QToolButton m_close;
};
