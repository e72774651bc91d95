#pragma once

#include "metadata/JpegExifReader.h"
#include "tests/fixtures/CameraPicture.h"
#include "tests/fixtures/ExifBuilder.h"
#include "tests/fixtures/JpegBuilder.h"

#include <cstddef>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace readertest {

using fixture::ByteOrder;
using fixture::Bytes;
using fixture::ExifBuilder;
using fixture::JpegBuilder;

constexpr ByteOrder kBothOrders[] = {ByteOrder::Little, ByteOrder::Big};

// A directory entry written as given; `offset` replaces the value's laid-out
// offset, `linkTo` makes the value the offset of that directory.
inline fixture::Entry RawEntry(uint16_t tag, uint16_t format, uint32_t count, Bytes value = {},
                               std::optional<uint32_t> offset = std::nullopt, int linkTo = -1) {
    fixture::Entry e = fixture::MakeEntry(tag, format, count, std::move(value));
    e.offsetOverride = offset;
    e.linkTo = linkTo;
    return e;
}

// Collects the reader's printed messages.
class CollectingSink final : public MessageSink {
public:
    void Print(const char* message) override { printed += message; }
    std::string printed;
};

// One APP1 payload parsed from a buffer of exactly its size, so that the
// sanitized build catches any read past it.
struct ParsedBlock {
    explicit ParsedBlock(const Bytes& payload, int cutTo = -1)
        : size(cutTo < 0 ? payload.size() : static_cast<size_t>(cutTo)),
          bytes(new unsigned char[size == 0 ? 1 : size]) {
        std::memset(&record, 0, sizeof record);
        if (size != 0)
            std::memcpy(bytes.get(), payload.data(), size);
        ok = reader.ParseExifBlock(bytes.get(), static_cast<int>(size) + 2);
    }
    std::string Error() const { return reader.LastError(); }

    size_t size;
    std::unique_ptr<unsigned char[]> bytes;
    ExifSummary record{};
    CollectingSink sink;
    CJpegExifReader reader{&record, &sink};
    bool ok = false;
};

// A whole file read from memory.
struct ReadFile {
    explicit ReadFile(const Bytes& file) {
        std::memset(&record, 0, sizeof record);
        MemoryStream stream(file.data(), file.size());
        ok = reader.ReadSections(stream);
    }
    std::string Error() const { return reader.LastError(); }
    std::vector<int> Markers() const {
        std::vector<int> markers;
        for (int i = 0; i < reader.SectionCount(); ++i)
            markers.push_back(reader.Section(i).marker);
        return markers;
    }

    ExifSummary record{};
    CollectingSink sink;
    CJpegExifReader reader{&record, &sink};
    bool ok = false;
};

// The typical camera with other values and formats where the tests want
// them: FLOAT, DOUBLE and LONG values, and a second resolution in the
// thumbnail directory. The file has a comment after the EXIF block.
inline fixture::CameraPicture ReaderCamera(ByteOrder order) {
    using namespace fixture;
    CameraPicture camera = TypicalCamera(order);
    camera.first[0x0112] = Short(6);
    camera.first[0x011A] = camera.first[0x011B] = Rational(300, 1);
    camera.first.erase(0x0132);
    for (uint16_t tag : {0x9201, 0x9202, 0x9205})
        camera.exif.erase(tag);
    camera.exif[0x9102] = Rational(5, 2);
    camera.exif[0x9206] = Double(2.5);
    camera.exif[0x920A] = Float(5.8f);
    camera.exif[0x9286] = AsciiComment("Hi  ");
    camera.exif[0xA002] = Long(2048);
    camera.thumbnail[0x011A] = Rational(72, 1);
    camera.comment = "after";
    camera.image = {64, 48, 1, 2, 3};
    return camera;
}

inline ExifBuilder CameraExif(ByteOrder order) {
    return fixture::CameraExif(ReaderCamera(order));
}

// A camera-like file: APP0, APP1 EXIF, COM, DQT, SOF0, DHT, DHT, SOS, data.
inline Bytes CameraFile(ByteOrder order) {
    return fixture::CameraJpeg(ReaderCamera(order));
}

// Equal records apart from the borrowed thumbnail pointer. Records are
// zero-filled with memset first, so their padding compares equal too.
inline bool SameRecord(const ExifSummary& a, const ExifSummary& b) {
    return std::memcmp(&a, &b, offsetof(ExifSummary, thumbnailData)) == 0 &&
           a.thumbnailLength == b.thumbnailLength && a.exifValid == b.exifValid;
}

} // namespace readertest
