#pragma once

#include "framework/docking/DockablePane.h"
#include "framework/views/KeptTextDelegate.h"
#include "metadata/tags/MetadataEntry.h"
#include "presentation/window/MetadataFilter.h"
#include "presentation/window/RowCopySource.h"

#include <QLineEdit>
#include <QString>
#include <QTreeView>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QMenu;
class QStandardItemModel;
class QUrl;

// The "Metadata" pane: every tag of the last inspected file, in groups named
// for people (Image, Exif, GPS, ...), with columns Tag and Value, and Id and
// Type hidden until chosen on the header's right-click menu. A filter box
// above the tree keeps the rows whose tag or value holds its text; Escape
// empties it. Tab reaches the box before the rows, and Ctrl+F goes to it from
// anywhere in the pane. Rows copy as "Group<TAB>Tag<TAB>Value" lines; a
// tooltip shows the value as written. A file with a GPS position has a
// "Position" row, first in its group, that opens the place in a map.
class CMetadataWnd : public DockablePane, public RowCopySource {
    Q_OBJECT
public:
    // Hands a URL to the desktop; replaceable for tests.
    using UrlOpener = std::function<bool(const QUrl&)>;

    explicit CMetadataWnd(QWidget* parent = nullptr);
    ~CMetadataWnd() override;

    // Shows `entries` in place of what was shown; the filter text stays.
    // While the rows are out of sight (a tab behind another, a hidden pane)
    // they are built once shown, or once TagTree or Filter is asked for: a
    // click pays only for the rows it shows.
    void FillEntries(std::vector<MetadataEntry> entries);
    void Clear();

    // Sets the filter box's text, which filters at once.
    void SetFilterText(const QString& text);

    // The selected rows (a selected group: all its shown rows) as
    // "Group<TAB>Tag<TAB>Value" lines, in the order shown.
    QString SelectedRowsText() const;
    // The shown value of the row of `index` (any column); empty for a group.
    QString ValueOf(const QModelIndex& index) const;
    // The geo: URI of the "Position" row of `index`; empty for other rows.
    QString GeoUriOf(const QModelIndex& index) const;
    // Hands the geo: URI of `index` to the opener; false for rows without one.
    bool OpenInMap(const QModelIndex& index);
    void SetUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }

    // The right-click menu of the row `index` of the tree (invalid: no row):
    // Copy, Copy Value, Select All, and Open in Map on the "Position" row.
    // The caller owns it.
    QMenu* CreateContextMenu(const QModelIndex& index, QWidget* parent = nullptr);
    // The header's right-click menu: the Id and Type columns, checked when
    // shown. The caller owns it.
    QMenu* CreateHeaderMenu(QWidget* parent = nullptr);

    // RowCopySource
    QWidget* FocusScope() override { return ClientArea(); }
    bool CanCopyRows() const override;
    void CopyRows() override;
    void SelectAllRows() override;

    QLineEdit& FilterBox() { return m_filterBox; }
    QTreeView& TagTree() {
        BuildPending();
        return m_tree;
    }
    MetadataFilter& Filter() {
        BuildPending();
        return m_filter;
    }

protected:
    void AdjustLayout() override;
    QWidget* ActivationFocus() override;
    void ClientShown() override { BuildPending(); }
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowContextMenu(const QPoint& pos);
    void ShowHeaderMenu(const QPoint& pos);
    void ApplyFilter(const QString& text);
    void Build(const std::vector<MetadataEntry>& entries);
    void BuildPending();

    QLineEdit m_filterBox;
    // Names, ids and types come back with every photo: their layouts are
    // kept.
    KeptTextDelegate m_delegate;
    QTreeView m_tree;
    MetadataFilter m_filter;
    std::unique_ptr<QStandardItemModel> m_model;
    // Entries handed over while the rows were out of sight.
    std::optional<std::vector<MetadataEntry>> m_pending;
    UrlOpener m_openUrl;
};
