#pragma once

#include "framework/docking/DockablePane.h"
#include "framework/views/FileColumns.h"
#include "presentation/overview/PhotoStats.h"
#include "presentation/window/BarChartView.h"
#include "presentation/window/RowCopySource.h"

#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QString>
#include <QTimer>

#include <vector>

class FolderListModel;

// The "Overview" pane: what the file list holds now (a folder, or a
// search's results) drawn as charts: cameras, lenses, focal lengths,
// apertures, ISO speeds, exposure times, days, hours, flash and formats,
// under a header line ("1,234 photos · 3 cameras · ..."). It counts the
// facts the list's own reading gathers (PhotoFacts), as the list hands them
// over, never reading a file itself; it shows the counts at most every
// kRefreshMs and starts again whenever the list does. Out of sight (a tab
// behind another pane, as on a first start) it keeps what it is handed and
// counts it once shown: a search hands over tens of thousands of photos.
//
// A bar is a way into the list: clicking it (or Enter or Space on it) asks
// for the query that lists its photos (queryChosen). Ctrl+C copies the
// numbers as "Chart<TAB>Bin<TAB>Count" lines.
class COverviewWnd : public DockablePane, public RowCopySource {
    Q_OBJECT
public:
    static constexpr int kRefreshMs = 250;
    // Cameras and lenses shown; the rest as "Other".
    static constexpr size_t kTop = 10;

    explicit COverviewWnd(QWidget* parent = nullptr);
    ~COverviewWnd() override;

    // Counts what the rows of `model` hold and follows it from now on (its
    // factsAdded and factsDropped); null follows nothing and shows nothing.
    void Follow(const FolderListModel* model);
    // Counts `facts` (a PhotoFacts each; others are passed over), at once
    // when the pane is in sight, else when it is shown or refreshed.
    void AddFacts(const std::vector<FileFactsPtr>& facts);
    // Counts what waits and shows the counts, without waiting for the timer.
    void Refresh();

    const PhotoStats& Stats() const { return m_stats; }
    // The charts shown; the charts without bins are left out of the pane.
    const std::vector<StatsChart>& Shown() const { return m_shown; }
    // The chart widget of the chart `key` ("focal", ...); null when none.
    BarChartView* ChartView(const std::string& key) const;
    QLabel& Header() { return m_header; }
    QScrollArea& Scroller() { return m_scroller; }
    // The numbers shown, one "Chart<TAB>Bin<TAB>Count" line each, as
    // velmora-tags --stats prints them.
    QString NumbersText() const;

    // RowCopySource: the whole table, whatever holds the focus in the pane.
    QWidget* FocusScope() override { return ClientArea(); }
    bool CanCopyRows() const override;
    void CopyRows() override;
    void SelectAllRows() override {}

signals:
    // A bar was chosen: `query` lists its photos among those counted.
    void queryChosen(const QString& query);

protected:
    QWidget* ActivationFocus() override;
    void ClientShown() override;

private:
    void Count(const std::vector<FileFactsPtr>& facts);
    void Recount();
    void Schedule();
    void OnFactsDropped();
    void OnBarActivated(size_t chart, int bar);
    void KeepVisible(const BarChartView* chart, int bar);

    QWidget m_body;
    QLabel m_header;
    QScrollArea m_scroller;
    QWidget m_chartsBody;
    // One per chart key, in the order of the charts; children of m_chartsBody.
    std::vector<BarChartView*> m_views;
    PhotoStats m_stats;
    std::vector<StatsChart> m_shown;
    QPointer<const FolderListModel> m_model;
    QTimer m_refresh;
    // The counts are to be made again from the rows.
    bool m_recount = false;
    // Handed over while the pane was out of sight, not yet counted.
    std::vector<FileFactsPtr> m_pending;
};

// `bin` (a bar's query) narrowing `current` (the query the list shows, blank
// for a whole folder): the photos of the bar among those listed.
// "canon" and "focal35:35" give "canon focal35:35"; a query with OR is
// bracketed first; a term already there is not added again.
QString NarrowedQuery(const QString& current, const QString& bin);
