#pragma once

#include "metadata/ByteSource.h"
#include "metadata/ExifSummary.h"
#include "metadata/JpegExifReader.h"
#include "metadata/LocatedBlocks.h"
#include "metadata/MessageSink.h"
#include "metadata/PhotoFormat.h"

#include <vector>

// Reads one photo file of any format we know: recognises it by its content,
// runs the JPEG section reader (JPEG; Fujifilm RAF's embedded JPEG) or the
// container's walker, and feeds every TIFF block found to the same EXIF
// directory parser, so every format gives the same ExifSummary; a movie's
// record comes from its header and metadata items. The record's
// width and height are the full picture's size from the container where it
// has one. Used for one file, then released; never throws.
class PhotoReader {
public:
    // What the caller reads after Read: the record alone, or also Blocks()
    // (which for a JPEG costs a second walk over its segments, and for other
    // formats a copy of each TIFF block, kept as found).
    // RecordAndMakerNote: the record, and the maker notes kept in Blocks()
    // (a JPEG's stay in its sections) where the walk would leave them out.
    enum class Use { RecordOnly, RecordAndMakerNote, RecordAndBlocks };

    // Fills `summary` (already zero-filled by the caller), or a record of its
    // own when given none.
    explicit PhotoReader(ExifSummary* summary = nullptr, MessageSink* sink = nullptr,
                         Use use = Use::RecordAndBlocks);
    PhotoReader(const PhotoReader&) = delete;
    PhotoReader& operator=(const PhotoReader&) = delete;

    // Reads the source; `name` (may be null) only breaks ties between
    // TIFF-based raw variants. True when an EXIF block was decoded
    // (Summary().exifValid); the record keeps whatever was learned either way.
    bool Read(ByteSource& source, const char* name = nullptr);

    PhotoFormat Format() const { return m_format; }
    const ExifSummary& Summary() const { return m_jpeg.Summary(); }
    // The last problem met; empty when none.
    const char* LastError() const;
    // The JPEG section reader: its sections for a JPEG file (and RAF's
    // embedded JPEG); also the parser of every other format's TIFF blocks.
    const CJpegExifReader& Jpeg() const { return m_jpeg; }
    // The JPEG section reader's own result: a start of scan was reached.
    bool JpegScanReached() const { return m_jpegScanReached; }
    // What was located: TIFF blocks with their roles, XMP, IPTC, preview,
    // the container's size. Unless Use::RecordAndBlocks a JPEG's are not looked for
    // and other formats' TIFF blocks are as the parser left them.
    const LocatedBlocks& Blocks() const { return m_blocks; }

private:
    void ReadJpeg(ByteSource& source, uint64_t start, uint64_t length);
    void LocateJpegBlocks(ByteSource& source, uint64_t start, uint64_t length);
    void ParseBlocks();
    void SetSize();
    void ReadTrailers(ByteSource& source);

    CJpegExifReader m_jpeg;
    PhotoFormat m_format = PhotoFormat::Unknown;
    LocatedBlocks m_blocks;
    const char* m_error = nullptr;
    bool m_jpegScanReached = false;
    bool m_tiffFile = false; // the blocks come from the TIFF walk
    Use m_use;
};
