#include "metadata/PhotoReader.h"

#include "metadata/JpegMarkers.h"

#include "metadata/FormatDetection.h"
#include "metadata/MovieRecord.h"
#include "metadata/containers/IsobmffWalker.h"
#include "metadata/containers/JpegSegments.h"
#include "metadata/containers/JxlSize.h"
#include "metadata/containers/PngWalker.h"
#include "metadata/containers/RafHeader.h"
#include "metadata/containers/SamsungTrailer.h"
#include "metadata/containers/TiffWalker.h"
#include "metadata/containers/WebpWalker.h"
#include "metadata/tiff/ByteOrder.h"
#include "metadata/tiff/TiffDirectory.h"
#include "metadata/tiff/TiffHeader.h"

#include <cstring>
#include <strings.h>

namespace {

// The offset of a TIFF block's first directory; 0 when it has no header.
uint32_t FirstDirectory(const TiffBlock& tiff) {
    TiffHeader header;
    return ReadTiffHeader(tiff.data(), tiff.size(), header) ? header.firstOffset : 0;
}

} // namespace

PhotoReader::PhotoReader(ExifSummary* summary, MessageSink* sink, Use use)
    : m_jpeg(summary, sink), m_use(use) {}

const char* PhotoReader::LastError() const {
    if (m_error != nullptr)
        return m_error;
    if (m_blocks.error != nullptr)
        return m_blocks.error;
    return m_jpeg.LastError();
}

bool PhotoReader::Read(ByteSource& source, const char* name) {
    unsigned char head[64];
    const size_t n = source.ReadHead(head, sizeof head);
    if (n == 0) {
        m_error = "Empty or unreadable file";
        return false;
    }
    m_format = DetectFormat(head, n);
    m_blocks.recordOnly = m_use != Use::RecordAndBlocks;
    m_blocks.makerNote = m_use == Use::RecordAndMakerNote;
    switch (m_format) {
    case PhotoFormat::Jpeg:
        ReadJpeg(source, 0, SourceStream::kToEnd);
        ReadTrailers(source);
        return Summary().exifValid;
    case PhotoFormat::Raf: {
        FileExtent jpeg;
        uint32_t width = 0, height = 0;
        if (!ReadRafHeader(source, jpeg, width, height, m_blocks.error))
            return false;
        ReadJpeg(source, jpeg.offset, jpeg.length);
        m_blocks.preview.extent = jpeg;
        std::memcpy(m_blocks.preview.coding, "jpeg", 5);
        m_blocks.width = width;
        m_blocks.height = height;
        SetSize();
        return Summary().exifValid;
    }
    case PhotoFormat::Tiff:
    case PhotoFormat::Orf:
    case PhotoFormat::Rw2: {
        TiffTraits traits;
        m_tiffFile = true;
        ReadTiffStructure(source, 0, m_blocks, traits);
        if (traits.magic != 0)
            m_format = NameTiffFormat(traits, name);
        break;
    }
    case PhotoFormat::Png:
        ReadPng(source, m_blocks);
        break;
    case PhotoFormat::WebpLossy: {
        bool lossless = false;
        ReadWebp(source, m_blocks, lossless);
        if (lossless)
            m_format = PhotoFormat::WebpLossless;
        break;
    }
    case PhotoFormat::Jxl:
        if (head[0] == 0xFF) { // a bare codestream: no place for EXIF
            JxlCodestreamSize(head, n, m_blocks.width, m_blocks.height);
            break;
        }
        [[fallthrough]];
    case PhotoFormat::Cr3:
    case PhotoFormat::Heic:
    case PhotoFormat::Heif:
    case PhotoFormat::Avif:
        ReadIsobmff(source, m_format, m_blocks);
        break;
    case PhotoFormat::Mov:
    case PhotoFormat::Mp4:
    case PhotoFormat::M4v:
    case PhotoFormat::ThreeGp:
        // No EXIF block: the record is what the movie header says.
        ReadIsobmff(source, m_format, m_blocks);
        FillMovieRecord(m_blocks.movie, const_cast<ExifSummary&>(Summary()));
        return Summary().exifValid;
    default:
        m_error = "Unknown file format";
        return false;
    }
    ParseBlocks();
    SetSize();
    ReadTrailers(source);
    return Summary().exifValid;
}

// Only a Samsung file is looked at for Samsung's trailer: the others are
// spared a read at their end.
void PhotoReader::ReadTrailers(ByteSource& source) {
    if (m_use != Use::RecordAndBlocks)
        return;
    const bool trailerFormat = m_format == PhotoFormat::Jpeg || m_format == PhotoFormat::Heic ||
                               m_format == PhotoFormat::Heif;
    const char* make = Summary().cameraMake;
    if (trailerFormat && strncasecmp(make, "samsung", 7) == 0)
        ReadSamsungTrailer(source, m_blocks);
}

void PhotoReader::ReadJpeg(ByteSource& source, uint64_t start, uint64_t length) {
    SourceStream stream(source, start, length);
    m_jpegScanReached = m_jpeg.ReadSections(stream);
    if (m_use == Use::RecordAndBlocks)
        LocateJpegBlocks(source, start, length);
}

// The JPEG reader keeps only what its rows need; XMP, IPTC and where the
// EXIF block lies are found by the segment scan, a second walk over the same
// header bytes, which the source already holds in the usual case.
void PhotoReader::LocateJpegBlocks(ByteSource& source, uint64_t start, uint64_t length) {
    JpegExifSegment exif;
    ScanJpegSegments(source, start, length, m_blocks, &exif);
    if (exif.length == 0)
        return;
    // The reader's thumbnail points into its copy of this segment.
    const ExifSummary& record = Summary();
    for (int i = 0; i < m_jpeg.SectionCount(); ++i) {
        const JpegSection& s = m_jpeg.Section(i);
        // Only an EXIF section of this segment's size (the parser may
        // have trimmed a comment inside it in place).
        if (s.marker != JpegMarker::App1 || record.thumbnailData == nullptr ||
            static_cast<uint32_t>(s.size) != exif.length ||
            std::memcmp(s.data + 2, "Exif\0\0", 6) != 0 || record.thumbnailData < s.data + 2 ||
            record.thumbnailData + record.thumbnailLength > s.data + s.size)
            continue;
        m_blocks.preview.extent = {exif.payload +
                                       static_cast<uint64_t>(record.thumbnailData - (s.data + 2)),
                                   record.thumbnailLength};
        std::memcpy(m_blocks.preview.coding, "jpeg", 5);
    }
}

void PhotoReader::ParseBlocks() {
    ExifSummary& record = const_cast<ExifSummary&>(Summary());
    bool valid = false;
    for (const TiffBlock& block : m_blocks.tiff)
        if (block.size() <= UINT32_MAX &&
            m_jpeg.ParseTiffBlock(block.data(), static_cast<uint32_t>(block.size())))
            valid = true;
    // A TIFF file's thumbnail offset counts from the file, not from the
    // compact block the walk made of its directories: the record has none
    // (Blocks().preview says where it is).
    if (m_tiffFile) {
        record.thumbnailData = nullptr;
        record.thumbnailLength = 0;
    }
    record.exifValid = valid;
    // Panasonic keeps the ISO speed in IFD0 (tag 0x0017), not in the EXIF
    // directory.
    const bool panasonic = m_format == PhotoFormat::Rw2 || m_format == PhotoFormat::PanasonicRaw ||
                           m_format == PhotoFormat::Rwl;
    if (panasonic && valid && record.isoEquivalent == 0 && !m_blocks.tiff.empty()) {
        const TiffBlock& main = m_blocks.tiff[0];
        const uint32_t iso = TiffUnsignedOf(main.data(), main.size(), FirstDirectory(main), 0x0017);
        if (iso <= INT32_MAX)
            record.isoEquivalent = static_cast<int32_t>(iso);
    }
}

void PhotoReader::SetSize() {
    ExifSummary& record = const_cast<ExifSummary&>(Summary());
    uint32_t width = m_blocks.width;
    uint32_t height = m_blocks.height;
    // Else the full-resolution directory's size, else the EXIF pixel size.
    for (const TiffBlock& block : m_blocks.tiff) {
        if (width != 0 && height != 0)
            break;
        const uint32_t first = FirstDirectory(block);
        auto number = [&](uint32_t directory, uint16_t tag) {
            return TiffUnsignedOf(block.data(), block.size(), directory, tag);
        };
        if (block.role == TiffRole::Main) {
            width = number(first, 0x0100);
            height = number(first, 0x0101);
        }
        if (width == 0 || height == 0) {
            const uint32_t exif = block.role == TiffRole::Exif ? first : number(first, 0x8769);
            if (exif != 0) {
                width = number(exif, 0xA002);
                height = number(exif, 0xA003);
            }
        }
    }
    if (width != 0 && height != 0 && width <= INT32_MAX && height <= INT32_MAX) {
        record.width = static_cast<int32_t>(width);
        record.height = static_cast<int32_t>(height);
    }
}
