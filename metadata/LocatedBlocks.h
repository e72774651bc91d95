#pragma once

#include "metadata/ReadBuffer.h"
#include "metadata/containers/MovieMetadata.h"
#include "metadata/tiff/TiffHeader.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Where in a file something lies; a length of 0 means it was not found.
struct FileExtent {
    uint64_t offset = 0;
    uint64_t length = 0;
};

// A TIFF structure from the byte-order mark on: copied into `bytes`, or
// pointed at where the file source keeps it for as long as it lives (a
// JPEG's EXIF segment in the file's head), which saves copying tens of
// kilobytes per file. Read it through data() and size().
struct TiffBlock {
    TiffRole role = TiffRole::Main;
    ReadBuffer bytes;
    const unsigned char* kept = nullptr;
    size_t keptSize = 0;

    const unsigned char* data() const { return kept != nullptr ? kept : bytes.data(); }
    size_t size() const { return kept != nullptr ? keptSize : bytes.size(); }
};

// An embedded picture other than the main one (EXIF thumbnail, raw preview,
// HEIF thumbnail item, RAF's JPEG): where it is and its coding as a
// four-character code ("jpeg", "hvc1", "av01").
struct EmbeddedPicture {
    FileExtent extent;
    char coding[5] = {0, 0, 0, 0, 0};
};

// An extended XMP packet: the GUID of its parts (32 hex digits) and their
// bytes joined.
struct ExtendedXmp {
    std::string guid;
    ReadBuffer packet;
};

// A block of the trailer Samsung's phones append to their files: its type
// (0x0A01...), the name it gives itself ("Image_UTC_Data") and its data, of
// which at most kMaxKept bytes are kept (`length` says how many there were).
struct SamsungTrailerBlock {
    static constexpr size_t kMaxKept = 4096;
    uint16_t type = 0;
    std::string name;
    std::vector<unsigned char> data;
    uint32_t length = 0;
};

// What a container walk located in one file. Only metadata is read, never
// picture data.
struct LocatedBlocks {
    // Set before the walk when only the EXIF record is wanted: walkers then
    // leave out XMP, IPTC and large values the record never reads (strip
    // tables, maker notes, colour profiles).
    bool recordOnly = false;
    // With recordOnly: the maker note is kept all the same (the EXIF
    // directory's, DNG's private data), for a caller that names the lens.
    bool makerNote = false;

    std::vector<TiffBlock> tiff;
    // CR3's CMT3 box: Canon's maker note as a TIFF structure of its own,
    // its first directory the Canon directory.
    ReadBuffer canonMakerNote;
    // The EXIF block of a full JPEG embedded in a raw file (RW2's
    // JpgFromRaw), from the byte-order mark on: its entries count where the
    // file's own directories lack them (Panasonic's maker note is only there).
    ReadBuffer previewExif;
    std::vector<SamsungTrailerBlock> samsungTrailer;
    ReadBuffer xmp; // the XMP packet as stored
    // JPEG's extended XMP packets, each joined from its parts; the main
    // packet's xmpNote:HasExtendedXMP names the one that belongs to it.
    std::vector<ExtendedXmp> extendedXmp;
    // IPTC records; JPEG: the first APP13 payload whole ("Photoshop 3.0\0"
    // and image resources), then the image resources of the next ones.
    ReadBuffer iptc;
    EmbeddedPicture preview;
    // A QuickTime or MP4 movie's header, tracks and metadata items.
    MovieMetadata movie;
    // The main picture's full size from the container; 0 when unknown.
    uint32_t width = 0;
    uint32_t height = 0;
    // The last problem met, a static English text; null when none.
    const char* error = nullptr;
};
