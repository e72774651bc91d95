#include "framework/views/UserActivity.h"

#include <QCoreApplication>
#include <QEvent>

UserActivity::UserActivity(QObject* parent) : QObject(parent) {
    m_calm.setSingleShot(true);
    m_calm.setInterval(kBusyMs);
    connect(&m_calm, &QTimer::timeout, this, [this] { *m_busy = false; });
    m_answered.setSingleShot(true);
    m_answered.setInterval(kAnsweringMs);
    connect(&m_answered, &QTimer::timeout, this, [this] { *m_answering = false; });
    QCoreApplication::instance()->installEventFilter(this);
}

UserActivity::~UserActivity() {
    Calm();
}

void UserActivity::Calm() {
    m_calm.stop();
    m_answered.stop();
    *m_busy = false;
    *m_answering = false;
}

bool UserActivity::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::Wheel:
        *m_busy = true;
        *m_answering = true;
        m_calm.start();
        m_answered.start();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
