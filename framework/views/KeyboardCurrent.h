#pragma once

#include <QObject>
#include <QPersistentModelIndex>
#include <QTimer>

class QAbstractItemView;

// Tells which item the keyboard made current (arrows, Home/End, Page
// Up/Down, typed letters), so a window can show it as a click would. A single
// key press tells at once; while a held key repeats, only the item reached
// last is told, once the repeats have stopped for kRepeatSettleMs, so a held
// arrow key never makes the window read every item it passes.
class KeyboardCurrent : public QObject {
    Q_OBJECT
public:
    static constexpr int kRepeatSettleMs = 50;

    explicit KeyboardCurrent(QObject* parent = nullptr);

    // Follows the key presses of `view`, whose selection model must be set;
    // views sharing one selection model may all be watched.
    void Watch(QAbstractItemView& view);

signals:
    void currentChosen(const QModelIndex& index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnCurrentChanged(const QModelIndex& current);

    QTimer m_settle;
    QPersistentModelIndex m_pending;
    // Set from a key press until the event loop has handled it: a current
    // change in that time came from the key.
    bool m_inKeyPress = false;
    bool m_repeating = false;
};
