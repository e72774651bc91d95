#include "presentation/RowText.h"
#include "tools/ReportFormat.h"

namespace {

class TextFormat final : public ReportFormat {
public:
    explicit TextFormat(bool headers) : m_headers(headers) {}

    void File(const std::string& path, const FileReport& report, std::string& out) override {
        if (m_headers) {
            if (!m_first)
                out += '\n';
            m_first = false;
            out += path;
            out += ":\n";
        }
        AppendRowsText(report.rows, out);
    }

    // Unreadable files show only on standard error.
    void Unreadable(const std::string&, const std::string&, std::string&) override {}

private:
    bool m_headers;
    bool m_first = true;
};

} // namespace

std::unique_ptr<ReportFormat> MakeTextFormat(bool headers) {
    return std::make_unique<TextFormat>(headers);
}
