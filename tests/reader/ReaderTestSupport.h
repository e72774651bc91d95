#pragma once

#include "ExifBuilder.h"
#include "JpegBuilder.h"
#include "JpegExifReader.h"

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
    fixture::Entry e;
    e.tag = tag;
    e.format = format;
    e.count = count;
    e.value = std::move(value);
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

// An EXIF block shaped like a camera's: first directory, EXIF sub-directory,
// interoperability directory and a thumbnail directory after the first.
inline ExifBuilder CameraExif(ByteOrder order) {
    ExifBuilder exif(order);
    const int sub = exif.AddDirectory();
    const int interop = exif.AddDirectory();
    const int ifd1 = exif.AddDirectory();
    exif.Ascii(0, 0x010F, "Velmora")
        .Ascii(0, 0x0110, "Test Camera 100")
        .Short(0, 0x0112, 6)
        .Rational(0, 0x011A, 300, 1)
        .Rational(0, 0x011B, 300, 1)
        .Short(0, 0x0128, 2)
        .Link(0, 0x8769, sub)
        .Next(0, ifd1);
    exif.Rational(sub, 0x829A, 1, 125)
        .Rational(sub, 0x829D, 28, 10)
        .Short(sub, 0x8822, 2)
        .Short(sub, 0x8827, 200)
        .Undefined(sub, 0x9000, {'0', '2', '2', '0'})
        .Ascii(sub, 0x9003, "2026:12:07 10:30:00")
        .Rational(sub, 0x9102, 5, 2)
        .SRational(sub, 0x9203, -5, 4)
        .SRational(sub, 0x9204, -1, 3)
        .Double(sub, 0x9206, 2.5)
        .Short(sub, 0x9207, 5)
        .Short(sub, 0x9208, 1)
        .Short(sub, 0x9209, 0x19)
        .Float(sub, 0x920A, 5.8f)
        .Undefined(sub, 0x9286, {'A', 'S', 'C', 'I', 'I', 0, 0, 0, 'H', 'i', ' ', ' '})
        .Long(sub, 0xA002, 2048)
        .Short(sub, 0xA003, 1536)
        .Link(sub, 0xA005, interop)
        .Rational(sub, 0xA20E, 3000, 1)
        .Rational(sub, 0xA20F, 3000, 1)
        .Short(sub, 0xA210, 2);
    exif.Ascii(interop, 0x0001, "R98");
    exif.Short(ifd1, 0x0103, 6)
        .Rational(ifd1, 0x011A, 72, 1)
        .Long(ifd1, 0x0201, 0)
        .Long(ifd1, 0x0202, 0);
    JpegBuilder thumb;
    thumb.Soi().FlatImage(16, 16, 200, 120, 40);
    const uint32_t at = exif.Append(thumb.Data());
    exif.Set(ifd1, 0x0201, exif.U32(at))
        .Set(ifd1, 0x0202, exif.U32(static_cast<uint32_t>(thumb.Data().size())));
    return exif;
}

// A camera-like file: APP0, APP1 EXIF, COM, DQT, SOF0, DHT, DHT, SOS, data.
inline Bytes CameraFile(ByteOrder order) {
    JpegBuilder jpeg;
    jpeg.Soi().App0Jfif().App1(CameraExif(order)).Comment("after").FlatImage(64, 48, 1, 2, 3);
    return jpeg.Data();
}

// Equal records apart from the borrowed thumbnail pointer. Records are
// zero-filled with memset first, so their padding compares equal too.
inline bool SameRecord(const ExifSummary& a, const ExifSummary& b) {
    return std::memcmp(&a, &b, offsetof(ExifSummary, thumbnailData)) == 0 &&
           a.thumbnailLength == b.thumbnailLength && a.exifValid == b.exifValid;
}

} // namespace readertest
