#pragma once

#include "metadata/ExifSummary.h"
#include "metadata/JpegExifReader.h"
#include "metadata/PhotoFormat.h"
#include "metadata/tags/GpsPosition.h"
#include "metadata/tags/MetadataEntry.h"
#include "presentation/TagRows.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Everything the reader learned about one file, kept after the reader (and
// with it the segment buffers) is gone.
struct FileReport {
    struct Section {
        int marker;
        int size;
    };

    // The file was opened as a regular file and read.
    bool opened = false;
    bool readResult = false;
    PhotoFormat format = PhotoFormat::Unknown;
    // thumbnailData is cleared: it pointed into the released reader.
    ExifSummary record{};
    // Distance of the thumbnail from the base of its EXIF block (the TIFF
    // header), when the record had one.
    std::optional<uint32_t> thumbnailOffset;
    std::string lastError;
    // The messages the reader printed, each as printed.
    std::vector<std::string> printed;
    // The JPEG segments read (JPEG, and the JPEG inside a Fujifilm RAF).
    int sectionCount = 0;
    Section sections[CJpegExifReader::kMaxSections] = {};
    // The pane's rows; empty unless record.exifValid.
    std::vector<TagRow> rows;
    // With InspectOptions::lens: EXIF's LensModel where the camera wrote
    // one, else the lens its maker note names; empty when neither does.
    std::string lens;
    // Bytes of the file read for all of it.
    uint64_t bytesRead = 0;

    // With InspectOptions::status: what the open file's status said.
    struct Status {
        uint64_t size = 0;
        int64_t modifiedMs = 0;
    };
    std::optional<Status> status;

    // With InspectOptions::allTags: every entry of every directory, XMP and
    // IPTC, and the GPS position when there is one.
    std::vector<MetadataEntry> tags;
    std::optional<GpsPosition> position;

    // Where the photo was taken is told: by every tag when they were read,
    // else by the record's GPS directory.
    bool HasPosition() const { return position.has_value() || record.gpsPosition; }
};
