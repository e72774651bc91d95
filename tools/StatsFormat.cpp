// velmora-tags --stats: every delivered file counted, the counts written
// once at the end.
#include "presentation/overview/PhotoStats.h"
#include "tools/JsonText.h"
#include "tools/ReportFormat.h"

namespace {

class StatsFormat final : public ReportFormat {
public:
    explicit StatsFormat(bool json) : m_json(json) {}

    void File(const std::string&, const FileReport& report, std::string&) override {
        m_stats.Add(report.record, report.format, report.lens, report.HasPosition());
    }

    // Unreadable files show only on standard error.
    void Unreadable(const std::string&, const std::string&, std::string&) override {}

    void End(std::string& out) override {
        const std::vector<StatsChart> charts = m_stats.Charts();
        if (m_json)
            AppendJson(charts, out);
        else
            AppendText(charts, out);
    }

private:
    // "Photos<TAB><TAB>N", then the charts' table.
    void AppendText(const std::vector<StatsChart>& charts, std::string& out) const {
        out += "Photos\t\t";
        out += std::to_string(m_stats.Photos());
        out += '\n';
        AppendChartsText(charts, out);
    }

    void AppendJson(const std::vector<StatsChart>& charts, std::string& out) const {
        out += "{\"photos\": ";
        AppendJsonInteger(out, static_cast<int64_t>(m_stats.Photos()));
        out += ", \"charts\": {";
        for (size_t c = 0; c < charts.size(); ++c) {
            if (c != 0)
                out += ", ";
            AppendJsonString(out, charts[c].key);
            out += ": [";
            for (size_t b = 0; b < charts[c].bins.size(); ++b) {
                const StatsBin& bin = charts[c].bins[b];
                out += b == 0 ? "{\"bin\": " : ", {\"bin\": ";
                AppendJsonString(out, bin.label);
                out += ", \"count\": ";
                AppendJsonInteger(out, static_cast<int64_t>(bin.count));
                out += '}';
            }
            out += ']';
        }
        out += "}}\n";
    }

    bool m_json;
    PhotoStats m_stats;
};

} // namespace

std::unique_ptr<ReportFormat> MakeStatsFormat(bool json) {
    return std::make_unique<StatsFormat>(json);
}
