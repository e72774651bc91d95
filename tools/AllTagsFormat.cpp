// The --all output: every tag of each file, one entry per line (text, CSV)
// or one object per file (JSON).

#include "tools/JsonText.h"
#include "tools/ReportFormat.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace {

void AppendCsvField(std::string& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

// The shortest text that reads back as the same double; null where JSON has
// no number (a rational over zero, a NaN float).
void AppendJsonNumber(std::string& out, double value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

void AppendJsonValue(std::string& out, const MetadataValue& value) {
    switch (value.kind) {
    case MetadataValue::Kind::Numbers:
        if (value.numbers.size() == 1) {
            AppendJsonNumber(out, value.numbers.front());
            return;
        }
        out += '[';
        for (size_t i = 0; i < value.numbers.size(); ++i) {
            if (i > 0)
                out += ',';
            AppendJsonNumber(out, value.numbers[i]);
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

// "Group:Name<TAB>Text" lines, blocks per file as the rows' text has them.
class AllTagsText final : public ReportFormat {
public:
    explicit AllTagsText(bool headers) : m_headers(headers) {}

    void File(const std::string& path, const FileReport& report, std::string& out) override {
        if (m_headers) {
            if (!m_first)
                out += '\n';
            m_first = false;
            out += path;
            out += ":\n";
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
    void Unreadable(const std::string&, const std::string&, std::string&) override {}
    bool WantsAllTags() const override { return true; }

private:
    bool m_headers;
    bool m_first = true;
};

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

std::unique_ptr<ReportFormat> MakeAllTagsTextFormat(bool headers) {
    return std::make_unique<AllTagsText>(headers);
}

std::unique_ptr<ReportFormat> MakeAllTagsJsonFormat() {
    return std::make_unique<AllTagsJson>();
}

std::unique_ptr<ReportFormat> MakeAllTagsCsvFormat() {
    return std::make_unique<AllTagsCsv>();
}
