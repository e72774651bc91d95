#include "metadata/tags/JpegMetadataSegments.h"

#include <cstring>

namespace {

constexpr char kExif[] = "Exif\0";                      // and one more zero
constexpr char kXmp[] = "http://ns.adobe.com/xap/1.0/"; // and its zero
constexpr char kPhotoshop[] = "Photoshop 3.0";          // and its zero
constexpr int kMaxSegments = 4096;

bool StartsWith(const uint8_t* p, size_t size, const char* text, size_t length) {
    return size >= length && std::memcmp(p, text, length) == 0;
}

} // namespace

bool FindJpegMetadataSegments(const uint8_t* data, size_t size, JpegMetadataSegments& out) {
    out = JpegMetadataSegments{};
    if (data == nullptr || size < 4 || data[0] != 0xFF || data[1] != 0xD8)
        return false;
    size_t at = 2;
    for (int segments = 0; segments < kMaxSegments && at < size; ++segments) {
        if (data[at] != 0xFF)
            break; // not a marker: the headers are over or broken
        // Fill bytes may precede a marker.
        while (at < size && data[at] == 0xFF)
            ++at;
        if (at >= size)
            break;
        const uint8_t marker = data[at++];
        if (marker == 0xDA || marker == 0xD9)
            break; // start of scan, end of image
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // stand-alone markers
        if (size - at < 2)
            break;
        const size_t length = size_t(data[at]) << 8 | data[at + 1];
        if (length < 2 || length > size - at)
            break; // a lying or cut-off length ends the scan
        const uint8_t* payload = data + at + 2;
        const size_t payloadSize = length - 2;
        if (marker == 0xE1 && out.exif == nullptr &&
            StartsWith(payload, payloadSize, kExif, sizeof kExif)) {
            out.exif = payload + sizeof kExif;
            out.exifSize = payloadSize - sizeof kExif;
        } else if (marker == 0xE1 && out.xmp == nullptr &&
                   StartsWith(payload, payloadSize, kXmp, sizeof kXmp)) {
            out.xmp = payload + sizeof kXmp;
            out.xmpSize = payloadSize - sizeof kXmp;
        } else if (marker == 0xED && out.photoshop == nullptr &&
                   StartsWith(payload, payloadSize, kPhotoshop, sizeof kPhotoshop)) {
            out.photoshop = payload;
            out.photoshopSize = payloadSize;
        }
        at += length;
    }
    return true;
}
