#include "metadata/containers/IsoBoxes.h"

#include "metadata/tiff/ByteOrder.h"

#include <cstring>

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

void FindBoxJpeg(ByteSource& source, const BoxHeader& box, LocatedBlocks& found) {
    unsigned char head[32];
    const uint64_t size = box.end - box.content;
    const size_t n = size < sizeof head ? static_cast<size_t>(size) : sizeof head;
    if (!source.ReadAt(box.content, head, n))
        return;
    for (size_t i = 0; i + 3 <= n; ++i) {
        if (head[i] == 0xFF && head[i + 1] == 0xD8 && head[i + 2] == 0xFF) {
            const uint64_t length = box.end - (box.content + i);
            if (length > found.preview.extent.length) {
                found.preview.extent = {box.content + i, length};
                std::memcpy(found.preview.coding, "jpeg", 5);
            }
            return;
        }
    }
}
