#include "metadata/containers/IsoBoxes.h"

#include "metadata/tiff/ByteOrder.h"

namespace {

bool Finish(const unsigned char* header, uint64_t at, uint64_t parentEnd, bool allowToEnd,
            uint64_t size, uint64_t headerSize, BoxHeader& box, const char*& error) {
    if (size == 0) {
        if (!allowToEnd) {
            error = "Box of size 0 inside another box";
            return false;
        }
        size = parentEnd - at;
    }
    if (size < headerSize || size > parentEnd - at) {
        error = "Box larger than its parent or smaller than its header";
        return false;
    }
    box.start = at;
    box.content = at + headerSize;
    box.end = at + size;
    std::memcpy(box.type, header + 4, 4);
    box.type[4] = '\0';
    return true;
}

} // namespace

bool ReadBoxHeader(ByteSource& source, uint64_t at, uint64_t parentEnd, bool allowToEnd,
                   BoxHeader& box, const char*& error) {
    unsigned char header[16];
    if (at > parentEnd || parentEnd - at < 8 || !source.ReadAt(at, header, 8)) {
        error = "Truncated box header";
        return false;
    }
    uint64_t size = Be32(header);
    uint64_t headerSize = 8;
    if (size == 1) {
        if (parentEnd - at < 16 || !source.ReadAt(at + 8, header + 8, 8)) {
            error = "Truncated box header";
            return false;
        }
        size = Be64(header + 8);
        headerSize = 16;
        if (size == 0)
            size = 1; // refused below as smaller than its header
    }
    return Finish(header, at, parentEnd, allowToEnd, size, headerSize, box, error);
}

bool BoxHeaderInMemory(const unsigned char* data, uint64_t at, uint64_t end, BoxHeader& box,
                       const char*& error) {
    if (at > end || end - at < 8) {
        error = "Truncated box header";
        return false;
    }
    const unsigned char* header = data + at;
    uint64_t size = Be32(header);
    uint64_t headerSize = 8;
    if (size == 1) {
        if (end - at < 16) {
            error = "Truncated box header";
            return false;
        }
        size = Be64(header + 8);
        headerSize = 16;
        if (size == 0)
            size = 1;
    }
    return Finish(header, at, end, false, size, headerSize, box, error);
}

bool ExifTiffStart(const unsigned char* data, size_t size, size_t& start) {
    if (size >= 4 && uint64_t{Be32(data)} + 4 < size) {
        start = static_cast<size_t>(Be32(data) + 4);
        return true;
    }
    const bool tiff =
        size >= 8 && (std::memcmp(data, "II*\0", 4) == 0 || std::memcmp(data, "MM\0*", 4) == 0);
    start = 0;
    return tiff;
}
