#include "metadata/containers/RafHeader.h"

#include "metadata/tiff/ByteOrder.h"

namespace {

constexpr uint32_t kMaxRafTags = 256;

// The header directory: a count, then (tag, size, value) records. Tag 0x100
// holds the raw size as height, width.
void ReadRawSize(ByteSource& source, uint64_t at, uint64_t length, uint32_t& width,
                 uint32_t& height) {
    unsigned char count[4];
    if (length < 4 || !source.ReadAt(at, count, 4))
        return;
    const uint64_t end = at + length;
    at += 4;
    for (uint32_t i = 0; i < Be32(count) && i < kMaxRafTags && end - at >= 4; ++i) {
        unsigned char record[8];
        if (!source.ReadAt(at, record, 4))
            return;
        const uint32_t size = Be16(record + 2);
        if (size > end - at - 4)
            return;
        if (Be16(record) == 0x100 && size >= 4 && source.ReadAt(at + 4, record + 4, 4)) {
            height = Be16(record + 4);
            width = Be16(record + 6);
            return;
        }
        at += 4 + size;
    }
}

} // namespace

bool ReadRafHeader(ByteSource& source, FileExtent& jpeg, uint32_t& width, uint32_t& height,
                   const char*& error) {
    unsigned char header[100];
    if (!source.ReadAt(0, header, sizeof header)) {
        error = "Truncated RAF header";
        return false;
    }
    jpeg = {Be32(header + 84), Be32(header + 88)};
    const uint64_t size = source.Size();
    if (jpeg.offset > size || jpeg.length > size - jpeg.offset || jpeg.length == 0) {
        error = "RAF's JPEG lies outside the file";
        jpeg = {};
        return false;
    }
    const uint64_t directory = Be32(header + 92);
    const uint64_t directoryLength = Be32(header + 96);
    if (directory <= size && directoryLength <= size - directory)
        ReadRawSize(source, directory, directoryLength, width, height);
    return true;
}
