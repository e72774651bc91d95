#include "metadata/containers/WebpWalker.h"

#include "metadata/tiff/ByteOrder.h"

#include <cstring>

namespace {

constexpr int kMaxChunks = 10000;
constexpr uint32_t kMaxMetadataChunk = 1u << 20;

bool ReadChunk(ByteSource& source, uint64_t at, uint32_t size, ReadBuffer& out,
               LocatedBlocks& found) {
    if (size > kMaxMetadataChunk) {
        found.error = "Metadata chunk too large";
        return false;
    }
    out.resize(size);
    if (!source.ReadAt(at, out.data(), size)) {
        found.error = source.FailureText();
        out.clear();
        return false;
    }
    return true;
}

} // namespace

bool ReadWebp(ByteSource& source, LocatedBlocks& found, bool& lossless) {
    unsigned char riff[12];
    if (!source.ReadAt(0, riff, 12)) {
        found.error = "Truncated RIFF header";
        return false;
    }
    // The RIFF size may lie; the file's own size bounds the walk too (the
    // source tells it only when a chunk goes past what it has read).
    const uint64_t riffEnd = uint64_t{Le32(riff + 4)} + 8;
    uint64_t at = 12;
    bool canvas = false;
    for (int n = 0; n < kMaxChunks && at < riffEnd && source.Holds(at, 1); ++n) {
        unsigned char header[8];
        if (riffEnd - at < 8 || !source.Holds(at, 8) || !source.ReadSparse(at, header, 8)) {
            found.error = "Truncated chunk";
            return false;
        }
        const uint32_t size = Le32(header + 4);
        const uint64_t data = at + 8;
        if (size > riffEnd - data || !source.Holds(data, size)) {
            found.error = "Chunk larger than the file";
            return false;
        }
        at = data + size + (size & 1);
        unsigned char frame[10];
        if (std::memcmp(header, "VP8X", 4) == 0 && size >= 10 && source.ReadAt(data, frame, 10)) {
            canvas = true;
            found.width = (frame[4] | (frame[5] << 8) | (uint32_t{frame[6]} << 16)) + 1;
            found.height = (frame[7] | (frame[8] << 8) | (uint32_t{frame[9]} << 16)) + 1;
        } else if (std::memcmp(header, "VP8 ", 4) == 0) {
            lossless = false;
            if (!canvas && size >= 10 && source.ReadAt(data, frame, 10) && frame[3] == 0x9D &&
                frame[4] == 0x01 && frame[5] == 0x2A) {
                found.width = (frame[6] | (frame[7] << 8)) & 0x3FFF;
                found.height = (frame[8] | (frame[9] << 8)) & 0x3FFF;
            }
        } else if (std::memcmp(header, "VP8L", 4) == 0) {
            lossless = true;
            if (!canvas && size >= 5 && source.ReadAt(data, frame, 5) && frame[0] == 0x2F) {
                const uint32_t bits = Le32(frame + 1);
                found.width = (bits & 0x3FFF) + 1;
                found.height = ((bits >> 14) & 0x3FFF) + 1;
            }
        } else if (std::memcmp(header, "EXIF", 4) == 0 && found.tiff.empty()) {
            TiffBlock block;
            if (ReadChunk(source, data, size, block.bytes, found)) {
                // Some writers keep the APP1 header before the TIFF structure.
                if (block.bytes.size() >= 6 && std::memcmp(block.bytes.data(), "Exif\0\0", 6) == 0)
                    block.bytes.erase(block.bytes.begin(), block.bytes.begin() + 6);
                found.tiff.push_back(std::move(block));
            }
        } else if (std::memcmp(header, "XMP ", 4) == 0 && found.xmp.empty() && !found.recordOnly) {
            ReadChunk(source, data, size, found.xmp, found);
        }
    }
    return true;
}
