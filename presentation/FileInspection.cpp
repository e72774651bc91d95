#include "presentation/FileInspection.h"

#include "metadata/JpegMarkers.h"
#include "metadata/MessageSink.h"
#include "metadata/PhotoReader.h"
#include "metadata/RegularFile.h"
#include "metadata/makernotes/MakerNotes.h"
#include "metadata/makernotes/SamsungTrailerList.h"
#include "metadata/tags/IptcReader.h"
#include "metadata/tags/QuickTimeEntries.h"
#include "metadata/tags/TiffTagWalk.h"
#include "metadata/tags/XmpReader.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
        if (section.marker != JpegMarker::App1 || section.data == nullptr ||
            section.size < kBaseInBuffer)
            continue;
        const auto base = reinterpret_cast<std::uintptr_t>(section.data) + kBaseInBuffer;
        const auto end = reinterpret_cast<std::uintptr_t>(section.data) + section.size;
        if (thumbnail >= base && thumbnail <= end)
            return static_cast<uint32_t>(thumbnail - base);
    }
    return std::nullopt;
}

// The entries of an embedded JPEG's EXIF block that the file's own
// directories do not hold (by group and id).
void AddMissingEntries(const ReadBuffer& block, MetadataCollector& out) {
    MetadataCollector embedded;
    embedded.SetCameraMake(out.CameraMake());
    WalkTiffBlock(block.data(), block.size(), TiffRole::Main, embedded);
    const size_t own = out.Entries().size();
    for (MetadataEntry& e : embedded.Entries()) {
        const auto first = out.Entries().begin();
        const bool held =
            std::any_of(first, first + static_cast<std::ptrdiff_t>(own),
                        [&](const MetadataEntry& o) { return o.id == e.id && o.group == e.group; });
        if (!held && !out.Add(std::move(e)))
            break;
    }
}

// Without the blanks cameras pad their texts with.
std::string Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

std::string_view FieldText(const char* field, size_t size) {
    return {field, ::strnlen(field, size)};
}

// EXIF's LensModel, else the maker note's lens from the EXIF blocks the
// reader still holds: a JPEG's EXIF segments, or the blocks the other
// formats' walks located (with the maker notes kept).
std::string PhotoLens(const PhotoReader& reader, const ExifSummary& record) {
    std::string lens = Trimmed(FieldText(record.lensModel, sizeof record.lensModel));
    if (!lens.empty())
        return lens;
    const std::string_view make = FieldText(record.cameraMake, sizeof record.cameraMake);
    const CJpegExifReader& jpeg = reader.Jpeg();
    constexpr int kTiffInSection = 2 + 6; // length bytes, then "Exif\0\0"
    for (int i = 0; i < jpeg.SectionCount() && lens.empty(); ++i) {
        const JpegSection& s = jpeg.Section(i);
        if (s.marker == JpegMarker::App1 && s.data != nullptr && s.size > kTiffInSection &&
            std::memcmp(s.data + 2, "Exif\0\0", 6) == 0)
            lens = MakerNoteLens(s.data + kTiffInSection, size_t(s.size - kTiffInSection),
                                 TiffRole::Main, make);
    }
    for (const TiffBlock& block : reader.Blocks().tiff) {
        if (!lens.empty())
            break;
        lens = MakerNoteLens(block.data(), block.size(), block.role, make);
    }
    return Trimmed(lens);
}

void ListAllTags(const LocatedBlocks& blocks, FileReport& report) {
    MetadataCollector out;
    // The report's list, emptied, keeps its room for a caller that reuses
    // reports; room for what most files hold besides, so that it seldom
    // moves.
    out.Entries() = std::move(report.tags);
    out.Entries().clear();
    out.Reserve(128);
    for (const TiffBlock& block : blocks.tiff)
        WalkTiffBlock(block.data(), block.size(), block.role, out);
    if (!blocks.canonMakerNote.empty())
        ReadCanonMakerNoteStructure(blocks.canonMakerNote.data(), blocks.canonMakerNote.size(),
                                    out);
    if (blocks.movie.headerRead || !blocks.movie.tags.empty())
        ListMovieEntries(blocks.movie, out);
    if (!blocks.previewExif.empty())
        AddMissingEntries(blocks.previewExif, out);
    if (!blocks.samsungTrailer.empty())
        ListSamsungTrailer(blocks.samsungTrailer, out);
    if (!blocks.xmp.empty()) {
        const size_t first = out.Entries().size();
        ReadXmpPacket(blocks.xmp.data(), blocks.xmp.size(), out);
        const std::string guid = ExtendedXmpGuid(out.Entries(), first);
        for (const ExtendedXmp& extended : blocks.extendedXmp)
            if (!guid.empty() && extended.guid == guid) {
                ReadXmpPacket(extended.packet.data(), extended.packet.size(), out);
                break;
            }
    }
    if (!blocks.iptc.empty()) {
        // IIM records start with their tag marker; JPEG keeps them inside
        // Photoshop's image resources.
        if (blocks.iptc.front() == 0x1C)
            ReadIptcIim(blocks.iptc.data(), blocks.iptc.size(), out);
        else
            ReadPhotoshopIptc(blocks.iptc.data(), blocks.iptc.size(), out);
    }
    report.tags = std::move(out.Entries());
    report.position = FindGpsPosition(report.tags);
}

} // namespace

bool InspectSource(ByteSource& source, FileReport& report, const char* name,
                   const InspectOptions& options) {
    std::memset(&report.record, 0, sizeof report.record);
    MessageCollector collector(report.printed);
    PhotoReader reader(&report.record, &collector,
                       options.allTags ? PhotoReader::Use::RecordAndBlocks
                       : options.lens  ? PhotoReader::Use::RecordAndMakerNote
                                       : PhotoReader::Use::RecordOnly);
    reader.Read(source, name);
    const CJpegExifReader& jpeg = reader.Jpeg();
    report.format = reader.Format();
    // A JPEG's result is its section reader's: a start of scan reached.
    // Other formats have no scan to reach: their walk ending is the result.
    report.readResult = report.format == PhotoFormat::Jpeg || report.format == PhotoFormat::Raf
                            ? reader.JpegScanReached()
                            : report.format != PhotoFormat::Unknown;
    report.lastError = reader.LastError();
    report.sectionCount = jpeg.SectionCount();
    for (int i = 0; i < report.sectionCount; ++i)
        report.sections[i] = {jpeg.Section(i).marker, jpeg.Section(i).size};
    report.thumbnailOffset = ThumbnailOffset(jpeg, report.record);
    report.record.thumbnailData = nullptr;
    if (options.allTags)
        ListAllTags(reader.Blocks(), report);
    report.bytesRead = source.BytesRead();
    if (options.keep && !options.keep(report))
        return false;
    if (report.record.exifValid && options.rows)
        report.rows = BuildTagRows(report.record, report.format);
    if (options.lens && report.record.exifValid)
        report.lens = PhotoLens(reader, report.record);
    return true;
}

bool InspectFile(const char* path, FileReport& report, std::string& error,
                 const InspectOptions& options) {
    const char* reason = nullptr;
    uint64_t size = FileSource::kUnknownSize;
    const int folder = options.folderFd >= 0 ? options.folderFd : AT_FDCWD;
    const int fd = OpenRegularDescriptor(folder, path, options.knownRegular, &size, &reason);
    if (fd < 0) {
        error = reason;
        return false;
    }
    report.opened = true;
    FileSource source(fd, size);
    const char* slash = std::strrchr(path, '/');
    struct stat info {};
    if (InspectSource(source, report, slash ? slash + 1 : path, options) && options.status &&
        ::fstat(fd, &info) == 0)
        report.status = FileReport::Status{info.st_size > 0 ? uint64_t(info.st_size) : 0,
                                           int64_t(info.st_mtim.tv_sec) * 1000 +
                                               info.st_mtim.tv_nsec / 1000000};
    ::close(fd);
    // A failed read looks like a short file to the reader; the tool must not
    // pass that off as a file without EXIF data.
    if (source.LastFailure() == ByteSource::Failure::Io) {
        error = std::string("read error: ") + std::strerror(source.IoErrno());
        return false;
    }
    return true;
}
