#pragma once

#include <QSortFilterProxyModel>
#include <QString>

// Keeps the entries whose tag name or value contains the filter text, in any
// case, and the groups that still hold one; an empty text keeps everything.
// The order is the source's: nothing sorts.
class MetadataFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit MetadataFilter(QObject* parent = nullptr);

    void SetText(const QString& text);
    const QString& Text() const { return m_text; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    QString m_text;
};
