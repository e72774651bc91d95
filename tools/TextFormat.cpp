#include "presentation/RowText.h"
#include "tools/ReportFormat.h"

namespace {

class TextFormat final : public ReportFormat {
public:
    TextFormat(bool headers, bool allTags) : m_headers(headers), m_allTags(allTags) {}

    void File(const std::string& path, const FileReport& report, std::string& out) override {
        if (m_headers) {
            if (!m_first)
                out += '\n';
            m_first = false;
            out += path;
            out += ":\n";
        }
        if (!m_allTags) {
            AppendRowsText(report.rows, out);
            return;
        }
        for (const MetadataEntry& entry : report.tags) {
            out += entry.group;
            out += ':';
            out += entry.name;
            out += '\t';
            out += entry.text;
            out += '\n';
        }
    }
    bool WantsAllTags() const override { return m_allTags; }

    // Unreadable files show only on standard error.
    void Unreadable(const std::string&, const std::string&, std::string&) override {}

private:
    bool m_headers;
    bool m_allTags;
    bool m_first = true;
};

} // namespace

std::unique_ptr<ReportFormat> MakeTextFormat(bool headers, bool allTags) {
    return std::make_unique<TextFormat>(headers, allTags);
}
