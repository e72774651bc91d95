#include "metadata/containers/PngWalker.h"

#include "metadata/ReadBuffer.h"
#include "metadata/tiff/ByteOrder.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>
#include <zlib.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr int kMaxChunks = 100000;
constexpr uint32_t kMaxTextChunk = 1u << 20;
constexpr size_t kMaxInflated = 2u << 20;

// One inflater per thread, reset between streams: setting one up (its
// state and its 32 KiB window) cost as much as inflating a camera's raw
// profile.
class Inflater {
public:
    Inflater() { m_ready = inflateInit2(&m_stream, -15) == Z_OK; }
    ~Inflater() {
        if (m_ready)
            inflateEnd(&m_stream);
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    // The stream in its initial state, or nullptr.
    z_stream* Take() { return m_ready && inflateReset(&m_stream) == Z_OK ? &m_stream : nullptr; }

private:
    z_stream m_stream{};
    bool m_ready = false;
};

// Inflates a zlib stream, at most kMaxInflated bytes of output. Its
// checksum is not verified (it cost a fifth of reading such a PNG): a damaged
// stream that still inflates yields bytes the parsers check like any others.
bool Inflate(const unsigned char* data, size_t size, ReadBuffer& out) {
    // The two header bytes: deflate with a window of at most 32 KiB, no
    // preset dictionary, and the check that makes them a multiple of 31.
    if (size < 2 || (data[0] & 0x0F) != 8 || (data[0] >> 4) > 7 || (data[1] & 0x20) != 0 ||
        (data[0] * 256 + data[1]) % 31 != 0)
        return false;
    thread_local Inflater inflater;
    z_stream* stream = inflater.Take();
    if (stream == nullptr)
        return false;
    stream->next_in = const_cast<unsigned char*>(data + 2);
    stream->avail_in = static_cast<uInt>(size - 2);
    out.clear();
    // Room for what text usually inflates to, then twice as much each
    // round.
    size_t step = std::clamp<size_t>(4 * size, 4096, 64 * 1024);
    int status = Z_OK;
    // Each round adds output or ends: the loop is bounded by kMaxInflated.
    while (status == Z_OK && out.size() < kMaxInflated) {
        const size_t before = out.size();
        out.resize(before + step);
        stream->next_out = out.data() + before;
        stream->avail_out = static_cast<uInt>(step);
        status = inflate(stream, Z_NO_FLUSH);
        out.resize(before + (step - stream->avail_out));
        if (status == Z_BUF_ERROR && stream->avail_in == 0)
            break;
        if (status == Z_OK && out.size() == before && stream->avail_in == 0)
            break;
        step = std::min<size_t>(2 * step, 256 * 1024);
    }
    return status == Z_STREAM_END;
}

// The value of each hex digit; 0xFF for every other byte.
struct HexDigits {
    unsigned char value[256];
    constexpr HexDigits() : value() {
        for (int c = 0; c < 256; ++c)
            value[c] = c >= '0' && c <= '9'   ? static_cast<unsigned char>(c - '0')
                       : c >= 'a' && c <= 'f' ? static_cast<unsigned char>(c - 'a' + 10)
                       : c >= 'A' && c <= 'F' ? static_cast<unsigned char>(c - 'A' + 10)
                                              : 0xFF;
    }
};
constexpr HexDigits kHexDigits;

#if defined(__SSE2__)
// Decodes the 32 digits at `text` into 16 bytes at `to`; false (and
// nothing written) unless all 32 are hex digits. Lines of digits are long:
// most bytes are made here, sixteen at a time (elsewhere the caller's loop
// makes them one by one).
bool DecodeSixteen(const unsigned char* text, unsigned char* to) {
    // Each digit's value, or a byte above 15 for anything else (signed
    // compares: bytes above ASCII are below '0' too).
    const auto values = [](__m128i c) {
        const __m128i digit = _mm_sub_epi8(c, _mm_set1_epi8('0'));
        const __m128i isDigit = _mm_and_si128(_mm_cmpgt_epi8(c, _mm_set1_epi8('0' - 1)),
                                              _mm_cmplt_epi8(c, _mm_set1_epi8('9' + 1)));
        const __m128i lower = _mm_or_si128(c, _mm_set1_epi8(0x20));
        const __m128i letter = _mm_sub_epi8(lower, _mm_set1_epi8('a' - 10));
        const __m128i isLetter = _mm_and_si128(_mm_cmpgt_epi8(lower, _mm_set1_epi8('a' - 1)),
                                               _mm_cmplt_epi8(lower, _mm_set1_epi8('f' + 1)));
        const __m128i value =
            _mm_or_si128(_mm_and_si128(isDigit, digit), _mm_and_si128(isLetter, letter));
        return std::pair(value, _mm_movemask_epi8(_mm_or_si128(isDigit, isLetter)));
    };
    const auto [first, firstOk] = values(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text)));
    const auto [second, secondOk] =
        values(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text + 16)));
    if ((firstOk & secondOk) != 0xFFFF)
        return false;
    // Each pair of digits, high then low, as one 16-bit lane: high << 4 | low.
    const __m128i lowByte = _mm_set1_epi16(0x00FF);
    const auto pairs = [&lowByte](__m128i v) {
        return _mm_or_si128(_mm_slli_epi16(_mm_and_si128(v, lowByte), 4), _mm_srli_epi16(v, 8));
    };
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm_packus_epi16(pairs(first), pairs(second)));
    return true;
}
#endif

// "\nexif\n   <length>\n<hex digits, with line breaks>": the bytes it holds.
bool DecodeRawProfile(const unsigned char* text, size_t size, ReadBuffer& out) {
    size_t i = 0;
    // A line feed, the profile's name and a line feed, then the length.
    if (i < size && text[i] == '\n')
        ++i;
    while (i < size && text[i] != '\n')
        ++i;
    ++i;
    uint64_t length = 0;
    bool digits = false;
    while (i < size && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    while (i < size && text[i] >= '0' && text[i] <= '9' && length < kMaxInflated) {
        length = length * 10 + (text[i] - '0');
        digits = true;
        ++i;
    }
    if (!digits || length == 0 || length > kMaxInflated)
        return false;
    out.resize(static_cast<size_t>(length));
    unsigned char* to = out.data();
    unsigned char* const end = to + length;
    // Line breaks and blanks between the digits are passed over, even
    // between the two digits of a byte. Each round makes bytes or moves on.
    while (i + 1 < size && to < end) {
#if defined(__SSE2__)
        if (size - i >= 32 && end - to >= 16 && DecodeSixteen(text + i, to)) {
            i += 32;
            to += 16;
            continue;
        }
#endif
        const unsigned high = kHexDigits.value[text[i]];
        const unsigned low = kHexDigits.value[text[i + 1]];
        if ((high | low) <= 15) { // the usual case: two digits in a row
            *to++ = static_cast<unsigned char>(high << 4 | low);
            i += 2;
        } else if (high > 15) {
            ++i;
        } else { // a digit, then something else before the second
            size_t j = i + 2;
            while (j < size && kHexDigits.value[text[j]] > 15)
                ++j;
            if (j >= size)
                break;
            *to++ = static_cast<unsigned char>(high << 4 | kHexDigits.value[text[j]]);
            i = j + 1;
        }
    }
    return to == end;
}

// An EXIF payload: a TIFF structure, possibly after "Exif\0\0".
void AddExif(const unsigned char* data, size_t size, LocatedBlocks& found) {
    if (size >= 6 && std::memcmp(data, "Exif\0\0", 6) == 0) {
        data += 6;
        size -= 6;
    }
    TiffBlock block;
    block.bytes.assign(data, data + size);
    found.tiff.push_back(std::move(block));
}

// The text of a tEXt, zTXt or iTXt chunk after its keyword, inflated
// where compressed; false when it cannot be had.
bool ChunkText(const char* type, const ReadBuffer& chunk, size_t keywordEnd, ReadBuffer& text) {
    size_t i = keywordEnd + 1;
    bool compressed = false;
    if (std::memcmp(type, "zTXt", 4) == 0) {
        compressed = true;
        ++i; // compression method
    } else if (std::memcmp(type, "iTXt", 4) == 0) {
        if (i + 2 > chunk.size())
            return false;
        compressed = chunk[i] != 0;
        i += 2;
        for (int field = 0; field < 2; ++field) { // language tag, translated keyword
            while (i < chunk.size() && chunk[i] != 0)
                ++i;
            ++i;
        }
    }
    if (i > chunk.size())
        return false;
    if (compressed)
        return Inflate(chunk.data() + i, chunk.size() - i, text);
    text.assign(chunk.begin() + static_cast<ptrdiff_t>(i), chunk.end());
    return true;
}

// What a text chunk's keyword says it holds.
enum class TextKind { None, Exif, App1, Iptc, Photoshop, Xmp, XmpProfile };

TextKind KindOf(std::string_view keyword, const char* type) {
    constexpr std::string_view kRaw = "Raw profile type ";
    if (keyword == "XML:com.adobe.xmp")
        return std::memcmp(type, "iTXt", 4) == 0 ? TextKind::Xmp : TextKind::None;
    if (keyword.substr(0, kRaw.size()) != kRaw)
        return TextKind::None;
    const std::string_view kind = keyword.substr(kRaw.size());
    if (kind == "exif")
        return TextKind::Exif;
    if (kind == "APP1")
        return TextKind::App1;
    if (kind == "iptc")
        return TextKind::Iptc;
    if (kind == "8bim")
        return TextKind::Photoshop;
    if (kind == "xmp")
        return TextKind::XmpProfile;
    return TextKind::None;
}

// Whether a chunk of this kind is still wanted: the first of each block
// counts, and with an eXIf chunk no raw EXIF profile does.
bool Wanted(TextKind kind, bool exifChunk, const LocatedBlocks& found) {
    const bool exif = !exifChunk && found.tiff.empty();
    const bool others = !found.recordOnly;
    switch (kind) {
    case TextKind::Exif:
        return exif;
    case TextKind::App1: // EXIF or XMP
        return exif || (others && found.xmp.empty());
    case TextKind::Iptc:
    case TextKind::Photoshop:
        return others && found.iptc.empty();
    case TextKind::Xmp:
    case TextKind::XmpProfile:
        return others && found.xmp.empty();
    default:
        return false;
    }
}

// A text chunk of a wanted kind, its keyword `keywordEnd` bytes long.
void ReadTextChunk(const char* type, TextKind kind, const ReadBuffer& chunk, size_t keywordEnd,
                   bool exifChunk, LocatedBlocks& found) {
    ReadBuffer text;
    if (!ChunkText(type, chunk, keywordEnd, text)) {
        found.error = "Damaged text chunk";
        return;
    }
    if (kind == TextKind::Xmp) {
        found.xmp = std::move(text);
        return;
    }
    ReadBuffer bytes;
    if (!DecodeRawProfile(text.data(), text.size(), bytes)) {
        found.error = "Damaged raw profile";
        return;
    }
    // The same blocks as in a JPEG's segments, read by the same readers.
    static constexpr char kXmpHeader[] = "http://ns.adobe.com/xap/1.0/"; // and its zero
    if (kind == TextKind::App1 && bytes.size() >= sizeof kXmpHeader &&
        std::memcmp(bytes.data(), kXmpHeader, sizeof kXmpHeader) == 0) {
        if (!found.recordOnly && found.xmp.empty())
            found.xmp.assign(bytes.begin() + sizeof kXmpHeader, bytes.end());
    } else if (kind == TextKind::Exif || kind == TextKind::App1) {
        if (!exifChunk && found.tiff.empty())
            AddExif(bytes.data(), bytes.size(), found);
    } else if (kind == TextKind::XmpProfile) {
        found.xmp = std::move(bytes);
    } else {
        found.iptc = std::move(bytes); // IIM or image resources, told apart by their start
    }
}

} // namespace

bool ReadPng(ByteSource& source, LocatedBlocks& found) {
    uint64_t at = 8;
    bool exifChunk = false;
    // To the end of the file, which the source tells only when a chunk goes
    // past what it has read.
    for (int n = 0; n < kMaxChunks && source.Holds(at, 1); ++n) {
        unsigned char header[8];
        if (!source.Holds(at, 12) || !source.ReadSparse(at, header, 8)) {
            found.error = "Truncated chunk";
            return false;
        }
        const uint32_t length = Be32(header);
        char type[5] = {};
        std::memcpy(type, header + 4, 4);
        const uint64_t data = at + 8;
        if (!source.Holds(data, uint64_t{length} + 4)) {
            found.error = "Chunk larger than the file";
            return false;
        }
        at = data + length + 4;
        if (std::memcmp(type, "IHDR", 4) == 0 && length >= 8) {
            unsigned char size[8];
            if (source.ReadAt(data, size, 8)) {
                found.width = Be32(size);
                found.height = Be32(size + 4);
            }
        } else if (std::memcmp(type, "eXIf", 4) == 0 && !exifChunk && length <= kMaxTextChunk) {
            ReadBuffer bytes(length);
            if (!source.ReadAt(data, bytes.data(), length)) {
                found.error = source.FailureText();
                return false;
            }
            exifChunk = true;
            found.tiff.clear(); // the eXIf chunk wins over a raw profile
            AddExif(bytes.data(), bytes.size(), found);
        } else if ((std::memcmp(type, "tEXt", 4) == 0 || std::memcmp(type, "zTXt", 4) == 0 ||
                    std::memcmp(type, "iTXt", 4) == 0) &&
                   length <= kMaxTextChunk && length > 0) {
            // The keyword comes first: a short look decides whether to read the rest.
            unsigned char keyword[24];
            const size_t look = length < sizeof keyword ? length : sizeof keyword;
            if (!source.ReadAt(data, keyword, look))
                continue;
            const void* zero = std::memchr(keyword, 0, look);
            if (zero == nullptr)
                continue;
            const size_t keywordEnd =
                static_cast<size_t>(static_cast<const unsigned char*>(zero) - keyword);
            const TextKind kind =
                KindOf(std::string_view(reinterpret_cast<const char*>(keyword), keywordEnd), type);
            if (!Wanted(kind, exifChunk, found))
                continue;
            ReadBuffer chunk(length);
            if (!source.ReadAt(data, chunk.data(), length)) {
                found.error = source.FailureText();
                return false;
            }
            ReadTextChunk(type, kind, chunk, keywordEnd, exifChunk, found);
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            break;
        }
    }
    return true;
}
