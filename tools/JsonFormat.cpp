#include "tools/ReportFormat.h"

#include "presentation/EightBitText.h"
#include "tools/JsonText.h"

namespace {

// A JSON text must be UTF-8, but file names are bytes. A name that is not
// UTF-8 is shown as Latin-1 and also given exactly, as hex, in "pathBytes".
void AppendPath(std::string& out, const std::string& path) {
    out += "\"path\":";
    AppendJsonString(out, path);
    if (IsUtf8(path))
        return;
    static const char kHex[] = "0123456789abcdef";
    out += ",\"pathBytes\":\"";
    for (const char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        out += kHex[c >> 4];
        out += kHex[c & 15];
    }
    out += '"';
}

void Key(std::string& out, const char* name) {
    out += ",\"";
    out += name;
    out += "\":";
}

template <size_t N> std::string_view FieldBytes(const char (&field)[N]) {
    return std::string_view(field, BoundedLength(field, N));
}

template <size_t N> void TextField(std::string& out, const char* name, const char (&field)[N]) {
    Key(out, name);
    AppendJsonString(out, FieldBytes(field));
}

void IntField(std::string& out, const char* name, int64_t value) {
    Key(out, name);
    AppendJsonInteger(out, value);
}

void FloatField(std::string& out, const char* name, float value) {
    Key(out, name);
    AppendJsonFloat(out, value);
}

// Every field of the record under its own name, in declared order.
void AppendRecord(std::string& out, const FileReport& report) {
    const ExifSummary& r = report.record;
    out += "{\"exifVersion\":";
    AppendJsonString(out, FieldBytes(r.exifVersion));
    TextField(out, "cameraMake", r.cameraMake);
    TextField(out, "cameraModel", r.cameraModel);
    TextField(out, "dateTime", r.dateTime);
    IntField(out, "height", r.height);
    IntField(out, "width", r.width);
    IntField(out, "orientation", r.orientation);
    IntField(out, "isColor", r.isColor);
    IntField(out, "encodingProcess", r.encodingProcess);
    IntField(out, "flashUsed", r.flashUsed);
    FloatField(out, "focalLength", r.focalLength);
    FloatField(out, "exposureTime", r.exposureTime);
    FloatField(out, "fNumber", r.fNumber);
    FloatField(out, "subjectDistance", r.subjectDistance);
    FloatField(out, "ccdWidth", r.ccdWidth);
    FloatField(out, "exposureBias", r.exposureBias);
    IntField(out, "lightSource", r.lightSource);
    IntField(out, "meteringMode", r.meteringMode);
    IntField(out, "exposureProgram", r.exposureProgram);
    IntField(out, "isoEquivalent", r.isoEquivalent);
    IntField(out, "jpegQuality", r.jpegQuality);
    FloatField(out, "focalPlaneXResolution", r.focalPlaneXResolution);
    FloatField(out, "focalPlaneYResolution", r.focalPlaneYResolution);
    FloatField(out, "focalPlaneUnit", r.focalPlaneUnit);
    FloatField(out, "xResolution", r.xResolution);
    FloatField(out, "yResolution", r.yResolution);
    FloatField(out, "resolutionUnit", r.resolutionUnit);
    FloatField(out, "brightness", r.brightness);
    TextField(out, "comment", r.comment);
    Key(out, "thumbnailOffset");
    if (report.thumbnailOffset)
        AppendJsonInteger(out, *report.thumbnailOffset);
    else
        out += "null";
    IntField(out, "thumbnailLength", r.thumbnailLength);
    Key(out, "exifValid");
    AppendJsonBool(out, r.exifValid);
    out += '}';
}

class JsonFormat final : public ReportFormat {
public:
    void File(const std::string& path, const FileReport& report, std::string& out) override {
        out += '{';
        AppendPath(out, path);
        Key(out, "format");
        AppendJsonString(out, FormatShortName(report.format));
        Key(out, "readResult");
        AppendJsonBool(out, report.readResult);
        Key(out, "exifValid");
        AppendJsonBool(out, report.record.exifValid);
        Key(out, "lastError");
        AppendJsonString(out, report.lastError);

        Key(out, "printed");
        out += '[';
        for (size_t i = 0; i < report.printed.size(); ++i) {
            if (i > 0)
                out += ',';
            AppendJsonString(out, report.printed[i]);
        }
        out += ']';

        Key(out, "sections");
        out += '[';
        for (int i = 0; i < report.sectionCount; ++i) {
            out += i > 0 ? ",{\"marker\":" : "{\"marker\":";
            AppendJsonInteger(out, report.sections[i].marker);
            out += ",\"size\":";
            AppendJsonInteger(out, report.sections[i].size);
            out += '}';
        }
        out += ']';

        Key(out, "record");
        AppendRecord(out, report);

        Key(out, "rows");
        out += '[';
        for (size_t i = 0; i < report.rows.size(); ++i) {
            out += i > 0 ? ",[" : "[";
            AppendJsonString(out, report.rows[i].label);
            out += ',';
            AppendJsonString(out, report.rows[i].value);
            out += ']';
        }
        out += "]}\n";
    }

    void Unreadable(const std::string& path, const std::string& reason, std::string& out) override {
        out += '{';
        AppendPath(out, path);
        Key(out, "error");
        AppendJsonString(out, reason);
        out += "}\n";
    }

    bool CarriesPrintedMessages() const override { return true; }
    bool FilesStandAlone() const override { return true; }
};

} // namespace

std::unique_ptr<ReportFormat> MakeJsonFormat() {
    return std::make_unique<JsonFormat>();
}
