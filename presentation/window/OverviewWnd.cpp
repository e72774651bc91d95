#include "presentation/window/OverviewWnd.h"

#include "framework/views/FolderListModel.h"
#include "presentation/window/PaneClipboard.h"
#include "presentation/window/PhotoFacts.h"

#include <QEvent>
#include <QRegularExpression>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

COverviewWnd::COverviewWnd(QWidget* parent)
    : DockablePane(parent), m_body(ClientArea()), m_header(&m_body), m_scroller(&m_body) {
    m_header.setObjectName(QStringLiteral("overviewHeader"));
    m_header.setAccessibleName(tr("Photos listed"));
    m_header.setWordWrap(true);
    m_header.setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_header.setContentsMargins(6, 4, 6, 4);
    m_scroller.setObjectName(QStringLiteral("overviewCharts"));
    m_scroller.setFrameShape(QFrame::NoFrame);
    m_scroller.setWidgetResizable(true);
    m_scroller.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_chartsBody.setObjectName(QStringLiteral("overviewChartsBody"));
    auto* charts = new QVBoxLayout(&m_chartsBody);
    charts->setContentsMargins(2, 0, 2, 6);
    charts->setSpacing(6);
    charts->addStretch(1);
    m_scroller.setWidget(&m_chartsBody);

    auto* column = new QVBoxLayout(&m_body);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(&m_header);
    column->addWidget(&m_scroller, 1);

    m_refresh.setSingleShot(true);
    m_refresh.setInterval(kRefreshMs);
    connect(&m_refresh, &QTimer::timeout, this, &COverviewWnd::Refresh);
    Refresh();
}

COverviewWnd::~COverviewWnd() = default;

void COverviewWnd::Follow(const FolderListModel* model) {
    if (m_model)
        disconnect(m_model, nullptr, this, nullptr);
    m_model = model;
    if (model) {
        connect(model, &FolderListModel::factsAdded, this, &COverviewWnd::AddFacts);
        connect(model, &FolderListModel::factsDropped, this, &COverviewWnd::OnFactsDropped);
    }
    Recount();
    Refresh();
}

void COverviewWnd::AddFacts(const std::vector<FileFactsPtr>& facts) {
    // What the rows hold is counted again anyway.
    if (m_recount)
        return;
    if (!m_body.isVisible()) {
        m_pending.insert(m_pending.end(), facts.begin(), facts.end());
        return;
    }
    Count(facts);
    Schedule();
}

void COverviewWnd::Count(const std::vector<FileFactsPtr>& facts) {
    for (const FileFactsPtr& fact : facts)
        if (const auto* photo = dynamic_cast<const PhotoFacts*>(fact.get()))
            m_stats.Add(photo->Record(), photo->Format(), photo->Lens(), photo->HasPosition());
}

void COverviewWnd::OnFactsDropped() {
    m_pending.clear();
    // Another folder or search: nothing of the last one stays on show.
    if (!m_model || m_model->rowCount() == 0) {
        m_stats.Clear();
        m_recount = false;
        Refresh();
        return;
    }
    m_recount = true;
    Schedule();
}

void COverviewWnd::Recount() {
    m_recount = false;
    m_pending.clear();
    m_stats.Clear();
    if (!m_model)
        return;
    std::vector<FileFactsPtr> facts;
    const int rows = m_model->rowCount();
    facts.reserve(size_t(rows));
    for (int row = 0; row < rows; ++row)
        if (const FolderEntry* entry = m_model->Entry(row); entry && entry->facts)
            facts.push_back(entry->facts);
    Count(facts);
}

void COverviewWnd::Schedule() {
    // Out of sight, the pane refreshes when it is shown.
    if (!m_refresh.isActive() && m_body.isVisible())
        m_refresh.start();
}

void COverviewWnd::Refresh() {
    m_refresh.stop();
    if (m_recount)
        Recount();
    Count(std::exchange(m_pending, {}));
    std::vector<StatsChart> charts = m_stats.Charts(kTop);
    m_shown.clear();
    for (StatsChart& chart : charts)
        if (!chart.bins.empty())
            m_shown.push_back(std::move(chart));
    m_header.setText(m_shown.empty() ? tr("No photos listed") : Text(m_stats.HeaderLine()));

    auto* layout = static_cast<QVBoxLayout*>(m_chartsBody.layout());
    for (size_t i = 0; i < m_shown.size(); ++i) {
        if (i == m_views.size()) {
            auto* view = new BarChartView(&m_chartsBody);
            view->setObjectName(QStringLiteral("overviewChart%1").arg(i));
            connect(view, &BarChartView::barActivated, this,
                    [this, i](int bar) { OnBarActivated(i, bar); });
            connect(view, &BarChartView::currentBarChanged, this,
                    [this, view](int bar) { KeepVisible(view, bar); });
            // Before the stretch that keeps the charts at the top.
            layout->insertWidget(int(i), view);
            m_views.push_back(view);
        }
        BarChartView* view = m_views[i];
        const StatsChart& chart = m_shown[i];
        view->setProperty("chartKey", Text(chart.key));
        view->SetTitle(Text(chart.title));
        std::vector<BarChartView::Bar> bars;
        bars.reserve(chart.bins.size());
        for (const StatsBin& bin : chart.bins)
            bars.push_back({Text(bin.label), bin.count, !bin.query.empty()});
        view->SetBars(std::move(bars));
        view->show();
    }
    for (size_t i = m_shown.size(); i < m_views.size(); ++i)
        m_views[i]->hide();
    // One label column for all, so the bars of every chart start alike.
    int labels = 0;
    for (size_t i = 0; i < m_shown.size(); ++i)
        labels = std::max(labels, m_views[i]->LabelsWidth());
    for (size_t i = 0; i < m_shown.size(); ++i)
        m_views[i]->SetLeastLabelWidth(labels);
}

void COverviewWnd::ClientShown() {
    if (m_recount || !m_pending.empty())
        Refresh();
}

BarChartView* COverviewWnd::ChartView(const std::string& key) const {
    for (size_t i = 0; i < m_shown.size() && i < m_views.size(); ++i)
        if (m_shown[i].key == key)
            return m_views[i];
    return nullptr;
}

void COverviewWnd::OnBarActivated(size_t chart, int bar) {
    if (chart >= m_shown.size() || bar < 0 || size_t(bar) >= m_shown[chart].bins.size())
        return;
    const std::string& query = m_shown[chart].bins[size_t(bar)].query;
    if (!query.empty())
        emit queryChosen(Text(query));
}

void COverviewWnd::KeepVisible(const BarChartView* chart, int bar) {
    const QRect row = chart->RowRect(bar);
    const QPoint centre = chart->mapTo(&m_chartsBody, row.center());
    m_scroller.ensureVisible(centre.x(), centre.y(), 0, row.height());
}

QWidget* COverviewWnd::ActivationFocus() {
    if (!m_shown.empty() && !m_views.empty())
        return m_views.front();
    return &m_scroller;
}

QString COverviewWnd::NumbersText() const {
    std::string text;
    AppendChartsText(m_shown, text);
    return Text(text);
}

bool COverviewWnd::CanCopyRows() const {
    return !m_shown.empty();
}

void COverviewWnd::CopyRows() {
    if (CanCopyRows())
        PutOnClipboard(NumbersText());
}

QString NarrowedQuery(const QString& current, const QString& bin) {
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QString kept = current.trimmed();
    const QStringList binTerms = bin.split(blanks, Qt::SkipEmptyParts);
    // Side by side, terms bind tighter than OR: "a OR b" must stay whole.
    const QString or_ = QStringLiteral("OR");
    const QString narrowing = binTerms.contains(or_) ? QStringLiteral("(%1)").arg(bin) : bin;
    if (kept.isEmpty())
        return bin;
    const QStringList terms = kept.split(blanks, Qt::SkipEmptyParts);
    if (!terms.contains(or_) &&
        std::all_of(binTerms.begin(), binTerms.end(),
                    [&terms](const QString& term) { return terms.contains(term); }))
        return kept;
    if (terms.contains(or_))
        return QStringLiteral("(%1) %2").arg(kept, narrowing);
    return kept + u' ' + narrowing;
}
