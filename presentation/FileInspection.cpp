#include "presentation/FileInspection.h"

#include "metadata/MessageSink.h"
#include "metadata/RegularFile.h"

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace {

// Keeps the reader's printed messages for the report instead of letting them
// reach standard output, which carries the tool's own output.
class MessageCollector final : public MessageSink {
public:
    explicit MessageCollector(std::vector<std::string>& messages) : m_messages(messages) {}
    void Print(const char* message) override { m_messages.emplace_back(message); }

private:
    std::vector<std::string>& m_messages;
};

// The thumbnail pointer points into one of the kept EXIF segments; its
// offset counts from that block's TIFF header, 6 bytes into the payload.
std::optional<uint32_t> ThumbnailOffset(const CJpegExifReader& reader, const ExifSummary& record) {
    if (record.thumbnailData == nullptr)
        return std::nullopt;
    const auto thumbnail = reinterpret_cast<std::uintptr_t>(record.thumbnailData);
    constexpr int kBaseInBuffer = 2 + 6; // length bytes, then "Exif\0\0"
    for (int i = 0; i < reader.SectionCount(); ++i) {
        const JpegSection& section = reader.Section(i);
        if (section.marker != 0xE1 || section.data == nullptr || section.size < kBaseInBuffer)
            continue;
        const auto base = reinterpret_cast<std::uintptr_t>(section.data) + kBaseInBuffer;
        const auto end = reinterpret_cast<std::uintptr_t>(section.data) + section.size;
        if (thumbnail >= base && thumbnail <= end)
            return static_cast<uint32_t>(thumbnail - base);
    }
    return std::nullopt;
}

} // namespace

void InspectStream(ByteStream& stream, FileReport& report) {
    std::memset(&report.record, 0, sizeof report.record);
    MessageCollector collector(report.printed);
    CJpegExifReader reader(&report.record, &collector);
    report.readResult = reader.ReadSections(stream);
    report.lastError = reader.LastError();
    report.sectionCount = reader.SectionCount();
    for (int i = 0; i < report.sectionCount; ++i)
        report.sections[i] = {reader.Section(i).marker, reader.Section(i).size};
    report.thumbnailOffset = ThumbnailOffset(reader, report.record);
    report.record.thumbnailData = nullptr;
    if (report.record.exifValid)
        report.rows = BuildTagRows(report.record);
}

bool InspectFile(const char* path, FileReport& report, std::string& error) {
    const char* reason = nullptr;
    std::FILE* file = OpenRegularFile(path, &reason);
    if (file == nullptr) {
        error = reason;
        return false;
    }
    report.opened = true;
    FileStream stream(file);
    InspectStream(stream, report);
    // The reader takes a failed read for the end of the file; the tool must
    // not pass that off as a file without EXIF data.
    const bool readFailed = std::ferror(file) != 0;
    const int readErrno = errno;
    std::fclose(file);
    if (readFailed) {
        error = std::string("read error: ") + std::strerror(readErrno);
        return false;
    }
    return true;
}
