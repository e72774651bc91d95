#include "tools/CsvText.h"
#include "tools/ReportFormat.h"

#include <string_view>

namespace {

class CsvFormat final : public ReportFormat {
public:
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
        for (const char* label : TagRowLabels()) {
            out += ',';
            if (next < report.rows.size() && report.rows[next].label == label)
                AppendCsvField(out, report.rows[next++].value);
        }
        out += '\n';
    }

    bool FilesStandAlone() const override { return true; }

    // Unreadable files show only on standard error.
    void Unreadable(const std::string&, const std::string&, std::string&) override {}
};

} // namespace

std::unique_ptr<ReportFormat> MakeCsvFormat() {
    return std::make_unique<CsvFormat>();
}
