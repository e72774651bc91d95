#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QString>
#include <QTimer>

// The search box at the right of the address bar: an editable box whose
// drop-down holds the last kHistory queries. Enter, a query picked from the
// drop-down, or a short pause after typing asks for a search; Escape, or
// clearing the text, asks to end it. A query that could not be compiled is
// shown under the box (ShowError) until the text changes. Its placeholder
// and accessible name say which folder it searches ("Search Pictures"), its
// tooltip the query language.
class SearchBox : public QComboBox {
    Q_OBJECT
public:
    static constexpr int kHistory = 10;
    static constexpr int kPauseMs = 400;

    explicit SearchBox(QWidget* parent = nullptr);

    // The folder searched, by the name shown; the text put in the box.
    void SetFolder(const QString& folderName, const QString& query);
    QString Query() const { return currentText(); }
    // Says under the box why the query cannot be searched.
    void ShowError(const QString& message);
    // The message under the box; null when none is shown.
    QLabel* ErrorLabel() const;
    // Puts `query` first in the drop-down (once), keeping kHistory.
    void Remember(const QString& query);
    // Puts `query` in the box and asks for its search, as Enter would.
    void SearchFor(const QString& query);

signals:
    void searchRequested(const QString& query);
    void searchCleared();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RequestSearch();
    void HideError();

    QTimer m_pause;
    QPointer<QLabel> m_error;
};
