#include "presentation/window/MetadataFilter.h"

#include "presentation/window/MetadataModel.h"

MetadataFilter::MetadataFilter(QObject* parent) : QSortFilterProxyModel(parent) {
    // A group is kept when one of its entries is, never for its own name.
    setRecursiveFilteringEnabled(true);
    setDynamicSortFilter(false);
}

void MetadataFilter::SetText(const QString& text) {
    if (text == m_text)
        return;
    m_text = text;
    invalidateFilter();
}

bool MetadataFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    if (m_text.isEmpty())
        return true;
    if (!sourceParent.isValid())
        return false;
    const QAbstractItemModel* model = sourceModel();
    const auto contains = [&](int column) {
        return model->index(sourceRow, column, sourceParent)
            .data(Qt::DisplayRole)
            .toString()
            .contains(m_text, Qt::CaseInsensitive);
    };
    return contains(MetadataModel::TagColumn) || contains(MetadataModel::ValueColumn);
}
