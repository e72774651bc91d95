// libFuzzer entry: one input is one file's bytes of any format. The photo
// reader recognises and walks them from memory; a record it calls valid is turned into rows as the
// window would. Beyond what the sanitizers catch, the input fails when the reader leaves a text
// field unterminated, hands out a thumbnail outside its own buffers, or a row that is not UTF-8.

#include "metadata/ByteSource.h"
#include "metadata/MessageSink.h"
#include "metadata/PhotoReader.h"
#include "presentation/TagRows.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

template <std::size_t N> void RequireTerminated(const char (&field)[N]) {
    if (std::memchr(field, 0, N) == nullptr)
        std::abort();
}

// Strict UTF-8, written here independently of the row code it checks.
bool IsUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t extra;
        uint32_t cp;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (s.size() - i <= extra)
            return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (t & 0x3F);
        }
        if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
            (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
            return false;
        i += extra + 1;
    }
    return true;
}

volatile unsigned thumbnailSum; // keeps the thumbnail reads

// The thumbnail must lie inside one of the reader's kept segments; reading
// it through also lets AddressSanitizer see a pointer that strays.
void CheckThumbnail(const CJpegExifReader& reader, const ExifSummary& record) {
    if (record.thumbnailLength == 0)
        return;
    const unsigned char* begin = record.thumbnailData;
    const unsigned char* end = begin + record.thumbnailLength;
    bool inside = false;
    for (int i = 0; i < reader.SectionCount(); ++i) {
        const JpegSection& s = reader.Section(i);
        if (s.data != nullptr && begin >= s.data && end <= s.data + s.size)
            inside = true;
    }
    if (!inside)
        std::abort();
    unsigned sum = 0;
    for (const unsigned char* p = begin; p != end; ++p)
        sum += *p;
    thumbnailSum = sum;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ExifSummary record;
    std::memset(&record, 0, sizeof record);
    MemorySource source(data, size);
    PhotoReader reader(&record, &DiscardingSink());
    reader.Read(source);
    if (source.BytesRead() > ByteSource::kDefaultCap)
        std::abort();

    RequireTerminated(record.exifVersion);
    RequireTerminated(record.cameraMake);
    RequireTerminated(record.cameraModel);
    RequireTerminated(record.dateTime);
    RequireTerminated(record.comment);
    if (std::memchr(reader.LastError(), 0, 256) == nullptr)
        std::abort();
    if (reader.Format() == PhotoFormat::Jpeg)
        CheckThumbnail(reader.Jpeg(), record);

    const LocatedBlocks& blocks = reader.Blocks();
    if (blocks.preview.extent.length > size ||
        blocks.preview.extent.offset > size - blocks.preview.extent.length)
        std::abort();

    if (record.exifValid) {
        for (const TagRow& row : BuildTagRows(record, reader.Format()))
            if (!IsUtf8(row.value))
                std::abort();
    }
    return 0;
}
