#pragma once

#include "metadata/ByteStream.h"
#include "metadata/ExifSummary.h"
#include "metadata/MessageSink.h"
#include "metadata/tiff/ByteOrder.h"
#include "metadata/tiff/VisitedDirectories.h"

#include <cstdint>

// One stored marker segment: `data` holds the two length bytes as read
// (high byte first) followed by the payload, `size` bytes in all; null for
// a segment whose bytes nothing reads (tables, the start of scan, other
// application segments), which is listed but not read. The bytes are the
// reader's own, or `borrowed` from the source the stream reads, which
// keeps them for as long as it lives.
struct JpegSection {
    const unsigned char* data;
    int32_t marker;
    int32_t size;
    bool borrowed;
};

// Reads the header segments of one JPEG file (start of image up to start of
// scan) into a fixed table and decodes its EXIF block into an ExifSummary.
// Used for one file, then released. Never throws; failures return false and
// leave a message in LastError().
class CJpegExifReader {
public:
    static constexpr int kMaxSections = 20;

    // Fills `summary` (already zero-filled by the caller), or a record of its
    // own when given none.
    explicit CJpegExifReader(ExifSummary* summary = nullptr, MessageSink* sink = nullptr);
    ~CJpegExifReader();
    CJpegExifReader(const CJpegExifReader&) = delete;
    CJpegExifReader& operator=(const CJpegExifReader&) = delete;

    // Reads from the stream's current position; true only when a start of
    // scan was reached. The record keeps whatever was learned either way.
    bool ReadSections(ByteStream& file);

    // Parses one APP1 payload (the bytes after the length field);
    // `segmentSize` is the segment's length field.
    bool ParseExifBlock(const unsigned char* payload, int segmentSize);

    // Parses a TIFF structure (byte order, 42, first directory offset, the
    // directories) of `length` bytes, as found in an APP1 payload after its
    // "Exif\0\0" header or in other containers. Offsets count from `tiff`.
    bool ParseTiffBlock(const unsigned char* tiff, uint32_t length);

    const ExifSummary& Summary() const { return *summary; }
    const char* LastError() const { return lastError; }
    int SectionCount() const { return sectionCount; }
    const JpegSection& Section(int index) const { return sections[index]; }

private:
    // The steps of ReadSections: the marker code after its fill bytes, the
    // segment's length and payload (or `unused`: passed over, not kept),
    // then what the segment means.
    enum class SectionOutcome { Keep, ScanReached, End };
    bool ReadMarkerCode(ByteStream& file, int& marker);
    bool ReadSegment(ByteStream& file, int marker, JpegSection& section, bool commentSeen,
                     bool& unused);
    SectionOutcome TakeSection(JpegSection& section, bool& commentSeen);

    void StoreFrameHeader(const unsigned char* data, int size, int marker);
    void ReleaseData(JpegSection& section);
    void StoreComment(const unsigned char* data, int size);
    void SetError(const char* message);
    void Print(const char* message);

    // Directory walk over the block at blockBase, offsets counted from there.
    // It ends on directories that link to themselves or to each other: it
    // walks each directory once and stays within TiffLimits, so one block
    // costs at most TiffLimits::kMaxDirectories directories of at most
    // 65535 entries each.
    bool WalkDirectory(uint32_t offset, int depth);
    void FollowLink(uint32_t target, int depth);
    // Notes whether the GPS directory at `offset` has a position.
    void NoteGpsPosition(uint32_t offset);
    struct Thumbnail {
        uint32_t offset;
        uint32_t length;
    };
    void ApplyTag(unsigned tag, unsigned format, uint32_t valueOffset, uint32_t byteCount,
                  Thumbnail& thumbnail);
    // ApplyTag's parts: each stores its tags and says whether `tag` was one.
    bool ApplyImageTag(unsigned tag, unsigned format, uint32_t valueOffset, uint32_t byteCount,
                       Thumbnail& thumbnail);
    bool ApplyExposureTag(unsigned tag, unsigned format, uint32_t valueOffset);
    bool ApplyPictureTag(unsigned tag, unsigned format, uint32_t valueOffset, uint32_t byteCount);
    void StoreUserComment(uint32_t valueOffset, uint32_t byteCount);

    // Values, read in the block's byte order and never past its end.
    unsigned ReadU16(const unsigned char* p) const;
    double NumberAt(unsigned format, uint32_t valueOffset) const;
    // A RATIONAL distance whose numerator is 0xFFFFFFFF: infinity.
    bool IsInfinite(unsigned format, uint32_t valueOffset) const;
    int32_t IntegerAt(unsigned format, uint32_t valueOffset) const;
    void CopyText(char* field, uint32_t maxChars, uint32_t valueOffset, uint32_t byteCount) const;

    ExifSummary* summary;
    char lastError[256];
    int32_t largestExifDimension;
    TiffByteOrder byteOrder = TiffByteOrder::Little;
    JpegSection sections[kMaxSections];
    int32_t sectionCount;
    bool ownsSummary;
    MessageSink* sink;

    // The EXIF block being parsed.
    const unsigned char* blockBase;
    uint32_t blockLength;
    VisitedDirectories walked;

    // The record used when the caller gives none; it lives as long as the
    // reader, so there is nothing to allocate or free for it.
    ExifSummary ownRecord;
};
