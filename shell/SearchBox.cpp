#include "shell/SearchBox.h"

#include "presentation/query/Query.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace {

constexpr int kBoxWidth = 240;

} // namespace

SearchBox::SearchBox(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("SearchBox"));
    setEditable(true);
    // The drop-down is ours (Remember); no completion rewrites a query.
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setMinimumWidth(kBoxWidth);
    setMaximumWidth(kBoxWidth * 2);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setToolTip(QString::fromUtf8(kQueryHelp));
    SetFolder(QString(), QString());

    m_pause.setSingleShot(true);
    m_pause.setInterval(kPauseMs);
    connect(&m_pause, &QTimer::timeout, this, &SearchBox::RequestSearch);
    connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        HideError();
        if (text.isEmpty()) {
            m_pause.stop();
            emit searchCleared();
        } else {
            m_pause.start();
        }
    });
    connect(lineEdit(), &QLineEdit::returnPressed, this, &SearchBox::RequestSearch);
    connect(this, &QComboBox::activated, this, [this] { RequestSearch(); });
    lineEdit()->installEventFilter(this);
}

void SearchBox::SetFolder(const QString& folderName, const QString& query) {
    const QString name = folderName.isEmpty() ? tr("Search") : tr("Search %1").arg(folderName);
    lineEdit()->setPlaceholderText(name);
    setAccessibleName(name);
    lineEdit()->setAccessibleName(name);
    m_pause.stop();
    HideError();
    setEditText(query);
}

void SearchBox::RequestSearch() {
    m_pause.stop();
    HideError();
    emit searchRequested(currentText());
}

void SearchBox::SearchFor(const QString& query) {
    setEditText(query);
    RequestSearch();
}

void SearchBox::Remember(const QString& query) {
    if (query.trimmed().isEmpty())
        return;
    const QString shown = currentText();
    const int known = findText(query, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (known >= 0)
        removeItem(known);
    insertItem(0, query);
    while (count() > kHistory)
        removeItem(count() - 1);
    // Changing the items may change the edit text; the user's stays.
    setEditText(shown);
}

void SearchBox::ShowError(const QString& message) {
    QWidget* frame = window();
    if (!m_error) {
        // A child of the window, over what lies under the box, as a tooltip
        // would be but staying while the query is corrected.
        m_error = new QLabel(frame);
        m_error->setObjectName(QStringLiteral("SearchError"));
        m_error->setAutoFillBackground(true);
        m_error->setBackgroundRole(QPalette::ToolTipBase);
        m_error->setForegroundRole(QPalette::ToolTipText);
        m_error->setFrameShape(QFrame::Box);
        m_error->setMargin(4);
        m_error->setAccessibleName(tr("Search error"));
    }
    m_error->setText(message);
    m_error->setAccessibleDescription(message);
    m_error->adjustSize();
    QPoint at = mapTo(frame, QPoint(0, height()));
    // Kept inside the window.
    at.setX(std::max(0, std::min(at.x(), frame->width() - m_error->width())));
    m_error->move(at);
    m_error->show();
    m_error->raise();
}

QLabel* SearchBox::ErrorLabel() const {
    return m_error && !m_error->isHidden() ? m_error.data() : nullptr;
}

void SearchBox::HideError() {
    if (m_error)
        m_error->hide();
}

bool SearchBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        m_pause.stop();
        HideError();
        const bool hadText = !currentText().isEmpty();
        setEditText(QString());
        emit searchCleared();
        // An empty box lets Escape go on to the window.
        return hadText;
    }
    return QComboBox::eventFilter(watched, event);
}
