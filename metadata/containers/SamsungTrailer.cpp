#include "metadata/containers/SamsungTrailer.h"

#include "metadata/tiff/ByteOrder.h"

#include <cstring>

namespace {

constexpr size_t kEndSize = 8;        // the directory's length, "SEFT"
constexpr size_t kDirectoryHead = 12; // "SEFH", version, count
constexpr size_t kRowSize = 12;
constexpr uint32_t kMaxBlocks = 64;
constexpr size_t kBlockHead = 8; // two zeros, the type, the name's length
constexpr uint32_t kMaxName = 256;

} // namespace

void ReadSamsungTrailer(ByteSource& source, LocatedBlocks& found) {
    const uint64_t size = source.Size();
    unsigned char end[kEndSize];
    if (size < kEndSize + kDirectoryHead || !source.ReadSparse(size - kEndSize, end, kEndSize) ||
        std::memcmp(end + 4, "SEFT", 4) != 0)
        return;
    const uint32_t directorySize = Le32(end);
    if (directorySize < kDirectoryHead || directorySize > kDirectoryHead + kRowSize * kMaxBlocks ||
        directorySize > size - kEndSize)
        return;
    const uint64_t directoryAt = size - kEndSize - directorySize;
    unsigned char directory[kDirectoryHead + kRowSize * kMaxBlocks];
    if (!source.ReadSparse(directoryAt, directory, directorySize) ||
        std::memcmp(directory, "SEFH", 4) != 0)
        return;
    const uint32_t count = Le32(directory + 8);
    if (count > (directorySize - kDirectoryHead) / kRowSize)
        return;
    for (uint32_t i = 0; i < count; ++i) {
        const unsigned char* row = directory + kDirectoryHead + kRowSize * i;
        SamsungTrailerBlock block;
        block.type = static_cast<uint16_t>(Le16(row + 2));
        const uint32_t back = Le32(row + 4);
        block.length = Le32(row + 8);
        // A block lies before the directory, whole.
        if (back > directoryAt || block.length < kBlockHead || block.length > back)
            continue;
        const uint64_t at = directoryAt - back;
        unsigned char head[kBlockHead];
        if (!source.ReadSparse(at, head, kBlockHead) || Le16(head + 2) != block.type)
            continue;
        const uint32_t nameSize = Le32(head + 4);
        if (nameSize > kMaxName || nameSize > block.length - kBlockHead)
            continue;
        const uint32_t dataSize = block.length - kBlockHead - nameSize;
        const uint32_t kept = dataSize < SamsungTrailerBlock::kMaxKept
                                  ? dataSize
                                  : static_cast<uint32_t>(SamsungTrailerBlock::kMaxKept);
        std::vector<unsigned char> bytes(nameSize + kept);
        if (!bytes.empty() && !source.ReadSparse(at + kBlockHead, bytes.data(), bytes.size()))
            continue;
        block.name.assign(bytes.begin(), bytes.begin() + nameSize);
        block.data.assign(bytes.begin() + nameSize, bytes.end());
        block.length = dataSize;
        found.samsungTrailer.push_back(std::move(block));
    }
}
