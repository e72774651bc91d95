#include "framework/views/KeyboardCurrent.h"

#include <QAbstractItemView>
#include <QKeyEvent>

KeyboardCurrent::KeyboardCurrent(QObject* parent) : QObject(parent) {
    m_settle.setSingleShot(true);
    m_settle.setInterval(kRepeatSettleMs);
    connect(&m_settle, &QTimer::timeout, this, [this] {
        if (m_pending.isValid())
            emit currentChosen(m_pending);
        m_pending = QPersistentModelIndex();
    });
}

void KeyboardCurrent::Watch(QAbstractItemView& view) {
    view.installEventFilter(this);
    connect(view.selectionModel(), &QItemSelectionModel::currentChanged, this,
            &KeyboardCurrent::OnCurrentChanged, Qt::UniqueConnection);
}

bool KeyboardCurrent::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        m_repeating = static_cast<QKeyEvent*>(event)->isAutoRepeat();
        if (!m_inKeyPress) {
            m_inKeyPress = true;
            // Runs once the view has handled this key press.
            QTimer::singleShot(0, this, [this] { m_inKeyPress = false; });
        }
    }
    return QObject::eventFilter(watched, event);
}

void KeyboardCurrent::OnCurrentChanged(const QModelIndex& current) {
    if (!m_inKeyPress || !current.isValid())
        return;
    if (m_repeating) {
        m_pending = current;
        m_settle.start();
        return;
    }
    m_settle.stop();
    m_pending = QPersistentModelIndex();
    emit currentChosen(current);
}
