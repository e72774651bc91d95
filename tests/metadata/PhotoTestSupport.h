#pragma once

#include "metadata/ByteSource.h"
#include "metadata/PhotoReader.h"
#include "presentation/FileInspection.h"
#include "tests/fixtures/ContainerBuilders.h"
#include "tests/metadata/ReaderTestSupport.h"

#include <gtest/gtest.h>

namespace readertest {

// A TIFF structure as cameras write it: IFD0 (make, model), the Exif
// directory (date, exposure, aperture, ISO, focal length, pixel size) and
// a GPS directory.
inline ExifBuilder CameraTiff(ByteOrder order) {
    ExifBuilder b(order);
    const int exif = b.AddDirectory();
    const int gps = b.AddDirectory();
    b.Ascii(0, 0x010F, "Canon").Ascii(0, 0x0110, "Canon EOS R5").Link(0, 0x8769, exif);
    b.Link(0, 0x8825, gps);
    b.Rational(exif, 0x829A, 1, 250).Rational(exif, 0x829D, 28, 10).Short(exif, 0x8827, 400);
    b.Ascii(exif, 0x9003, "2024:05:06 07:08:09").Rational(exif, 0x920A, 50, 1);
    b.Long(exif, 0xA002, 640).Long(exif, 0xA003, 480);
    b.Byte(gps, 0x0000, 2);
    return b;
}

// One file read from memory through the photo reader, from a buffer of
// exactly its size so that the sanitized build catches any stray read.
struct PhotoRead {
    explicit PhotoRead(const Bytes& file, const char* name = nullptr,
                       uint64_t cap = ByteSource::kDefaultCap,
                       PhotoReader::Use use = PhotoReader::Use::RecordAndBlocks)
        : bytes(file), source(bytes.data(), bytes.size(), cap), reader(&record, &sink, use) {
        std::memset(&record, 0, sizeof record);
        ok = reader.Read(source, name);
    }
    std::string Error() const { return reader.LastError(); }

    Bytes bytes;
    MemorySource source;
    ExifSummary record{};
    CollectingSink sink;
    PhotoReader reader;
    bool ok = false;
};

// Every entry of a file, as `velmora-tags --all` lists them.
inline FileReport Inspect(const Bytes& file, const char* name) {
    MemorySource source(file.data(), file.size());
    FileReport report;
    InspectOptions options;
    options.allTags = true;
    InspectSource(source, report, name, options);
    return report;
}

inline void ExpectCameraRecord(const ExifSummary& r) {
    EXPECT_TRUE(r.exifValid);
    EXPECT_STREQ(r.cameraMake, "Canon");
    EXPECT_STREQ(r.cameraModel, "Canon EOS R5");
    EXPECT_STREQ(r.dateTime, "2024:05:06 07:08:09");
    EXPECT_FLOAT_EQ(r.exposureTime, 1.0f / 250);
    EXPECT_FLOAT_EQ(r.fNumber, 2.8f);
    EXPECT_EQ(r.isoEquivalent, 400);
    EXPECT_FLOAT_EQ(r.focalLength, 50);
}

// A located block's bytes, to compare with what a builder wrote.
inline Bytes BytesOf(const ReadBuffer& block) {
    return Bytes(block.begin(), block.end());
}

} // namespace readertest
