// The --all output as JSON (one object per file) and CSV (one line per entry);
// the text form is TextFormat's.

#include "tools/CsvText.h"
#include "tools/JsonText.h"
#include "tools/ReportFormat.h"

#include <string_view>

namespace {

void AppendJsonValue(std::string& out, const MetadataValue& value) {
    switch (value.kind) {
    case MetadataValue::Kind::Numbers:
        if (value.numbers.size() == 1) {
            AppendJsonDouble(out, value.numbers.front());
            return;
        }
        out += '[';
        for (size_t i = 0; i < value.numbers.size(); ++i) {
            if (i > 0)
                out += ',';
            AppendJsonDouble(out, value.numbers[i]);
        }
        out += ']';
        return;
    case MetadataValue::Kind::Text:
        AppendJsonString(out, value.text);
        return;
    default:
        out += "null";
        return;
    }
}

// One object per file and line: path, format and the list of tags.
class AllTagsJson final : public ReportFormat {
public:
    void File(const std::string& path, const FileReport& report, std::string& out) override {
        out += "{\"path\":";
        AppendJsonString(out, path);
        out += ",\"format\":";
        AppendJsonString(out, FormatShortName(report.format));
        out += ",\"tags\":[";
        for (size_t i = 0; i < report.tags.size(); ++i) {
            const MetadataEntry& entry = report.tags[i];
            out += i > 0 ? ",{\"group\":" : "{\"group\":";
            AppendJsonString(out, entry.group);
            out += ",\"id\":";
            if (entry.id >= 0)
                AppendJsonInteger(out, entry.id);
            else
                out += "null";
            out += ",\"name\":";
            AppendJsonString(out, entry.name);
            out += ",\"value\":";
            AppendJsonValue(out, entry.value);
            out += ",\"text\":";
            AppendJsonString(out, entry.text);
            out += '}';
        }
        out += "]}\n";
    }
    void Unreadable(const std::string& path, const std::string& reason, std::string& out) override {
        out += "{\"path\":";
        AppendJsonString(out, path);
        out += ",\"error\":";
        AppendJsonString(out, reason);
        out += "}\n";
    }
    bool WantsAllTags() const override { return true; }
};

// Long form: path, group, name and the human text, one line per entry.
class AllTagsCsv final : public ReportFormat {
public:
    void Begin(std::string& out) override { out += "path,group,name,value\n"; }
    void File(const std::string& path, const FileReport& report, std::string& out) override {
        for (const MetadataEntry& entry : report.tags) {
            AppendCsvField(out, path);
            out += ',';
            AppendCsvField(out, entry.group);
            out += ',';
            AppendCsvField(out, entry.name);
            out += ',';
            AppendCsvField(out, entry.text);
            out += '\n';
        }
    }
    void Unreadable(const std::string&, const std::string&, std::string&) override {}
    bool WantsAllTags() const override { return true; }
};

} // namespace

std::unique_ptr<ReportFormat> MakeAllTagsJsonFormat() {
    return std::make_unique<AllTagsJson>();
}

std::unique_ptr<ReportFormat> MakeAllTagsCsvFormat() {
    return std::make_unique<AllTagsCsv>();
}
