#include "framework/views/UserActivity.h"

#include <QCoreApplication>
#include <QEvent>

UserActivity::UserActivity(QObject* parent) : QObject(parent) {
    m_calm.setSingleShot(true);
    m_calm.setInterval(kBusyMs);
    connect(&m_calm, &QTimer::timeout, this, [this] { *m_busy = false; });
    QCoreApplication::instance()->installEventFilter(this);
}

UserActivity::~UserActivity() {
    *m_busy = false;
}

void UserActivity::Calm() {
    m_calm.stop();
    *m_busy = false;
}

bool UserActivity::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::Wheel:
        *m_busy = true;
        m_calm.start();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
