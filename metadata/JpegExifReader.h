#pragma once

#include "ByteStream.h"
#include "ExifSummary.h"
#include "MessageSink.h"

#include <cstdint>

// One stored marker segment: `data` holds the two length bytes as read
// (high byte first) followed by the payload, `size` bytes in all.
struct JpegSection {
    unsigned char* data;
    int32_t marker;
    int32_t size;
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
    // `segmentSize` is the segment's length field. The payload may be
    // changed in place (UserComment trimming).
    bool ParseExifBlock(unsigned char* payload, int segmentSize);

    const ExifSummary& Summary() const { return *summary; }
    const char* LastError() const { return lastError; }
    int SectionCount() const { return sectionCount; }
    const JpegSection& Section(int index) const { return sections[index]; }

private:
    void StoreFrameHeader(const unsigned char* data, int size, int marker);
    void StoreComment(const unsigned char* data, int size);
    void SetError(const char* message);
    void Print(const char* message);

    bool WalkDirectory(unsigned char* directory, unsigned char* base, uint32_t length, int depth);
    unsigned ReadU16(const unsigned char* p) const;
    int32_t ReadS32(const unsigned char* p) const;
    double ValueAsNumber(int format, const unsigned char* value, uint32_t available) const;

    ExifSummary* summary;
    char lastError[256];
    int32_t largestExifDimension;
    int32_t bigEndian;
    JpegSection sections[kMaxSections];
    int32_t sectionCount;
    bool ownsSummary;
    MessageSink* sink;
};
