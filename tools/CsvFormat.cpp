#include "tools/CsvText.h"
#include "tools/ReportFormat.h"

#include <array>
#include <string_view>
#include <tuple>
#include <type_traits>

namespace {

class CsvFormat final : public ReportFormat {
public:
    CsvFormat() {
        for (size_t i = 0; i < m_labels.size(); ++i)
            m_labels[i] = TagRowLabels()[i];
    }

    void Begin(std::string& out) override {
        out += "path";
        for (const char* label : TagRowLabels()) {
            out += ',';
            AppendCsvField(out, label);
        }
        out += '\n';
    }

    void File(const std::string& path, const FileReport& report, std::string& out) override {
        AppendCsvField(out, path);
        // Rows come in label order, each label at most once.
        size_t next = 0;
        for (const std::string_view label : m_labels) {
            out += ',';
            if (next < report.rows.size() && report.rows[next].label == label)
                AppendCsvField(out, report.rows[next++].value);
        }
        out += '\n';
    }

    bool FilesStandAlone() const override { return true; }

    // Unreadable files show only on standard error.
    void Unreadable(const std::string&, const std::string&, std::string&) override {}

private:
    // The labels with their lengths, measured once.
    std::array<std::string_view, std::tuple_size_v<std::remove_cvref_t<decltype(TagRowLabels())>>>
        m_labels;
};

} // namespace

std::unique_ptr<ReportFormat> MakeCsvFormat() {
    return std::make_unique<CsvFormat>();
}
