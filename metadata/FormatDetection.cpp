#include "metadata/FormatDetection.h"

#include "metadata/containers/IsobmffWalker.h"

#include <cctype>
#include <cstring>

namespace {

bool StartsWith(const unsigned char* head, size_t size, const char* magic, size_t length) {
    return size >= length && std::memcmp(head, magic, length) == 0;
}

// Case-insensitive prefix test of the camera maker's name.
bool MakeIs(const char* make, const char* prefix) {
    for (; *prefix != '\0'; ++make, ++prefix)
        if (*make == '\0' || std::tolower(static_cast<unsigned char>(*make)) !=
                                 std::tolower(static_cast<unsigned char>(*prefix)))
            return false;
    return true;
}

bool NameEndsWith(const char* name, const char* extension) {
    if (name == nullptr)
        return false;
    const size_t n = std::strlen(name);
    const size_t e = std::strlen(extension);
    if (n < e)
        return false;
    for (size_t i = 0; i < e; ++i)
        if (std::tolower(static_cast<unsigned char>(name[n - e + i])) != extension[i])
            return false;
    return true;
}

} // namespace

PhotoFormat DetectFormat(const unsigned char* head, size_t size) {
    if (size >= 2 && head[0] == 0xFF && head[1] == 0xD8)
        return PhotoFormat::Jpeg;
    if (size >= 2 && head[0] == 0xFF && head[1] == 0x0A)
        return PhotoFormat::Jxl;
    if (StartsWith(head, size, "\0\0\0\x0CJXL \x0D\x0A\x87\x0A", 12))
        return PhotoFormat::Jxl;
    if (StartsWith(head, size, "\x89PNG\r\n\x1A\n", 8))
        return PhotoFormat::Png;
    if (size >= 12 && std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WEBP", 4) == 0)
        return PhotoFormat::WebpLossy; // refined by its chunks
    if (StartsWith(head, size, "FUJIFILMCCD-RAW ", 16))
        return PhotoFormat::Raf;
    if (StartsWith(head, size, "IIRO", 4) || StartsWith(head, size, "MMOR", 4) ||
        StartsWith(head, size, "IISR", 4))
        return PhotoFormat::Orf;
    if (StartsWith(head, size, "IIU\0", 4) || StartsWith(head, size, "MM\0U", 4))
        return PhotoFormat::Rw2;
    if (StartsWith(head, size, "II*\0", 4) || StartsWith(head, size, "MM\0*", 4) ||
        StartsWith(head, size, "II+\0", 4) || StartsWith(head, size, "MM\0+", 4))
        return PhotoFormat::Tiff;
    if (size >= 16 && std::memcmp(head + 4, "ftyp", 4) == 0) {
        const uint32_t boxSize = (uint32_t{head[0]} << 24) | (uint32_t{head[1]} << 16) |
                                 (uint32_t{head[2]} << 8) | head[3];
        if (boxSize < 16)
            return PhotoFormat::Unknown;
        const size_t brands = (boxSize < size ? boxSize : size) - 8;
        return FormatFromBrands(head + 8, brands);
    }
    // QuickTime movies older than the ftyp box start with one of these.
    if (size >= 8) {
        const char* type = reinterpret_cast<const char*>(head + 4);
        for (const char* first : {"moov", "mdat", "wide", "free", "skip", "pnot"})
            if (std::memcmp(type, first, 4) == 0)
                return PhotoFormat::Mov;
    }
    return PhotoFormat::Unknown;
}

PhotoFormat NameTiffFormat(const TiffTraits& traits, const char* name) {
    if (traits.magic == 0x4F52 || traits.magic == 0x5352)
        return PhotoFormat::Orf;
    if (traits.magic == 0x55) {
        if (NameEndsWith(name, ".rwl") || MakeIs(traits.make, "LEICA"))
            return PhotoFormat::Rwl;
        return NameEndsWith(name, ".raw") ? PhotoFormat::PanasonicRaw : PhotoFormat::Rw2;
    }
    if (traits.canonCr2)
        return PhotoFormat::Cr2;
    if (traits.dng)
        return PhotoFormat::Dng;
    // A scanner's or an editor's TIFF names a maker too: only sensor data
    // makes a raw file.
    if (!traits.raw)
        return PhotoFormat::Tiff;
    const char* m = traits.make;
    if (MakeIs(m, "NIKON"))
        return NameEndsWith(name, ".nrw") ? PhotoFormat::Nrw : PhotoFormat::Nef;
    if (MakeIs(m, "SONY")) {
        if (NameEndsWith(name, ".sr2"))
            return PhotoFormat::Sr2;
        return NameEndsWith(name, ".srf") ? PhotoFormat::Srf : PhotoFormat::Arw;
    }
    if (MakeIs(m, "PENTAX") || MakeIs(m, "RICOH IMAGING"))
        return PhotoFormat::Pef;
    if (MakeIs(m, "SAMSUNG"))
        return PhotoFormat::Srw;
    if (MakeIs(m, "Hasselblad"))
        return PhotoFormat::Hasselblad3fr;
    if (MakeIs(m, "Phase One"))
        return PhotoFormat::Iiq;
    if (MakeIs(m, "SEIKO EPSON") || MakeIs(m, "EPSON"))
        return PhotoFormat::Erf;
    if (MakeIs(m, "Mamiya"))
        return PhotoFormat::Mef;
    if (MakeIs(m, "Leaf"))
        return PhotoFormat::Mos;
    if (MakeIs(m, "Kodak") || MakeIs(m, "EASTMAN KODAK"))
        return NameEndsWith(name, ".kdc") ? PhotoFormat::Kdc : PhotoFormat::Dcr;
    return PhotoFormat::Tiff;
}
