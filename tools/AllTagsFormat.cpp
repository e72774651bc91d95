// The --all output as JSON (one object per file) and CSV (one line per entry);
// the text form is TextFormat's.

#include "tools/CsvText.h"
#include "tools/JsonText.h"
#include "tools/ReportFormat.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <string_view>

namespace {

// Writes at `out` a piece of text known at compile time.
template <size_t N> char* Put(char* out, const char (&text)[N]) {
    std::memcpy(out, text, N - 1);
    return out + N - 1;
}

// Room for any entry's object but its texts: the keys, the id, a number;
// more than IdAndName copies at once.
constexpr size_t kEntryRoom = 64 + 2 * kJsonNumberRoom;

size_t ValueRoom(const MetadataValue& value) {
    switch (value.kind) {
    case MetadataValue::Kind::Numbers:
        return 2 + value.numbers.size() * (kJsonNumberRoom + 1);
    case MetadataValue::Kind::Text:
        return JsonStringRoom(value.text.size());
    default:
        return 4;
    }
}

char* WriteValue(char* out, const MetadataValue& value) {
    switch (value.kind) {
    case MetadataValue::Kind::Numbers:
        if (value.numbers.size() == 1)
            return WriteJsonDouble(out, value.numbers.front());
        *out++ = '[';
        for (size_t i = 0; i < value.numbers.size(); ++i) {
            if (i > 0)
                *out++ = ',';
            out = WriteJsonDouble(out, value.numbers[i]);
        }
        *out++ = ']';
        return out;
    case MetadataValue::Kind::Text:
        return WriteJsonString(out, value.text);
    default:
        return Put(out, "null");
    }
}

// `"id":N,"name":"..."` of an entry. The JSON of names from the tables is
// kept per thread, by the name's address and the id: the same few hundred
// tags come back file after file.
class IdAndName {
public:
    char* Write(char* out, const MetadataEntry& entry) {
        const std::string_view name = entry.name.View();
        if (!entry.name.IsConstant())
            return WriteFresh(out, entry.id, name);
        const auto address = reinterpret_cast<uintptr_t>(name.data());
        Slot& slot = m_slots[(address >> 3 ^ static_cast<uint32_t>(entry.id) * 0x9E3779B1u) %
                             std::size(m_slots)];
        if (slot.name == name.data() && slot.size == name.size() && slot.id == entry.id) {
            // The slot whole, in a few moves: an entry has room for it.
            std::memcpy(out, slot.json, sizeof slot.json);
            return out + slot.length;
        }
        char* const end = WriteFresh(out, entry.id, name);
        const auto length = static_cast<size_t>(end - out);
        if (length <= sizeof slot.json) {
            slot = {name.data(), name.size(), entry.id, static_cast<uint8_t>(length), {}};
            std::memcpy(slot.json, out, length);
        }
        return end;
    }

private:
    struct Slot {
        const char* name = nullptr;
        size_t size = 0;
        int32_t id = 0;
        uint8_t length = 0;
        char json[75];
    };
    static_assert(sizeof(Slot::json) + 16 <= kEntryRoom);
    static char* WriteFresh(char* out, int32_t id, std::string_view name) {
        out = Put(out, "\"id\":");
        out = id >= 0 ? WriteJsonInteger(out, id) : Put(out, "null");
        out = Put(out, ",\"name\":");
        return WriteJsonString(out, name);
    }

    Slot m_slots[512];
};

// One object per file and line: path, format and the list of tags. The line
// is written through a pointer into a buffer kept from file to file, with
// room made once for all of it: a file has a few hundred small pieces.
class AllTagsJson final : public ReportFormat {
public:
    void File(const std::string& path, const FileReport& report, std::string& out) override {
        const std::string_view format = FormatShortName(report.format);
        size_t room = kEntryRoom + JsonStringRoom(path.size()) + JsonStringRoom(format.size());
        for (const MetadataEntry& entry : report.tags)
            room += kEntryRoom + JsonStringRoom(entry.group.size()) +
                    JsonStringRoom(entry.name.size()) + ValueRoom(entry.value) +
                    JsonStringRoom(entry.text.size());
        // Each thread keeps a buffer of its own: files are written on the
        // threads that read them.
        thread_local std::unique_ptr<char[]> buffer;
        thread_local size_t capacity = 0;
        if (room > capacity) {
            capacity = std::max(room, 2 * capacity);
            buffer = std::make_unique_for_overwrite<char[]>(capacity);
        }
        thread_local const std::unique_ptr<IdAndName> idsAndNames = std::make_unique<IdAndName>();
        char* const start = buffer.get();
        char* p = Put(start, "{\"path\":");
        p = WriteJsonString(p, path);
        p = Put(p, ",\"format\":");
        p = WriteJsonString(p, format);
        p = Put(p, ",\"tags\":[");
        // Entries come in runs of one group: its JSON is copied from the
        // run's first.
        const std::string* group = nullptr;
        std::string_view groupJson;
        for (size_t i = 0; i < report.tags.size(); ++i) {
            const MetadataEntry& entry = report.tags[i];
            if (i > 0)
                *p++ = ',';
            p = Put(p, "{\"group\":");
            if (group != nullptr && *group == entry.group) {
                std::memcpy(p, groupJson.data(), groupJson.size());
                p += groupJson.size();
            } else {
                char* const start = p;
                p = WriteJsonString(p, entry.group);
                group = &entry.group;
                groupJson = std::string_view(start, static_cast<size_t>(p - start));
            }
            *p++ = ',';
            p = idsAndNames->Write(p, entry);
            p = Put(p, ",\"value\":");
            char* const value = p;
            p = WriteValue(p, entry.value);
            p = Put(p, ",\"text\":");
            // A text value is most often the text too: its JSON is copied.
            if (entry.value.kind == MetadataValue::Kind::Text && entry.value.text == entry.text) {
                const auto n = static_cast<size_t>(p - value) - (sizeof ",\"text\":" - 1);
                std::memcpy(p, value, n);
                p += n;
            } else {
                p = WriteJsonString(p, entry.text);
            }
            *p++ = '}';
        }
        p = Put(p, "]}\n");
        out.append(start, p);
    }
    void Unreadable(const std::string& path, const std::string& reason, std::string& out) override {
        out += "{\"path\":";
        AppendJsonString(out, path);
        out += ",\"error\":";
        AppendJsonString(out, reason);
        out += "}\n";
    }
    bool WantsAllTags() const override { return true; }
    bool FilesStandAlone() const override { return true; }
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
    bool FilesStandAlone() const override { return true; }
};

} // namespace

std::unique_ptr<ReportFormat> MakeAllTagsJsonFormat() {
    return std::make_unique<AllTagsJson>();
}

std::unique_ptr<ReportFormat> MakeAllTagsCsvFormat() {
    return std::make_unique<AllTagsCsv>();
}
