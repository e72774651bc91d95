#include "metadata/PhotoFormat.h"

namespace {

struct Names {
    const char* display;
    const char* shortName;
};

Names NamesOf(PhotoFormat format) {
    switch (format) {
    case PhotoFormat::Jpeg:
        return {"JPEG", "jpeg"};
    case PhotoFormat::Tiff:
        return {"TIFF", "tiff"};
    case PhotoFormat::Dng:
        return {"DNG", "dng"};
    case PhotoFormat::Cr2:
        return {"Canon CR2", "cr2"};
    case PhotoFormat::Nef:
        return {"Nikon NEF", "nef"};
    case PhotoFormat::Nrw:
        return {"Nikon NRW", "nrw"};
    case PhotoFormat::Arw:
        return {"Sony ARW", "arw"};
    case PhotoFormat::Sr2:
        return {"Sony SR2", "sr2"};
    case PhotoFormat::Srf:
        return {"Sony SRF", "srf"};
    case PhotoFormat::Pef:
        return {"Pentax PEF", "pef"};
    case PhotoFormat::Srw:
        return {"Samsung SRW", "srw"};
    case PhotoFormat::Orf:
        return {"Olympus ORF", "orf"};
    case PhotoFormat::Rw2:
        return {"Panasonic RW2", "rw2"};
    case PhotoFormat::PanasonicRaw:
        return {"Panasonic RAW", "raw"};
    case PhotoFormat::Rwl:
        return {"Leica RWL", "rwl"};
    case PhotoFormat::Hasselblad3fr:
        return {"Hasselblad 3FR", "3fr"};
    case PhotoFormat::Iiq:
        return {"Phase One IIQ", "iiq"};
    case PhotoFormat::Erf:
        return {"Epson ERF", "erf"};
    case PhotoFormat::Mef:
        return {"Mamiya MEF", "mef"};
    case PhotoFormat::Mos:
        return {"Leaf MOS", "mos"};
    case PhotoFormat::Dcr:
        return {"Kodak DCR", "dcr"};
    case PhotoFormat::Kdc:
        return {"Kodak KDC", "kdc"};
    case PhotoFormat::Cr3:
        return {"Canon CR3", "cr3"};
    case PhotoFormat::Heic:
        return {"HEIF (HEVC)", "heic"};
    case PhotoFormat::Heif:
        return {"HEIF", "heif"};
    case PhotoFormat::Avif:
        return {"AVIF", "avif"};
    case PhotoFormat::Jxl:
        return {"JPEG XL", "jxl"};
    case PhotoFormat::Png:
        return {"PNG", "png"};
    case PhotoFormat::WebpLossy:
        return {"WebP lossy", "webp"};
    case PhotoFormat::WebpLossless:
        return {"WebP lossless", "webp"};
    case PhotoFormat::Raf:
        return {"Fujifilm RAF", "raf"};
    case PhotoFormat::Mov:
        return {"QuickTime movie", "mov"};
    case PhotoFormat::Mp4:
        return {"MPEG-4 movie", "mp4"};
    case PhotoFormat::M4v:
        return {"MPEG-4 movie (M4V)", "m4v"};
    case PhotoFormat::ThreeGp:
        return {"3GPP movie", "3gp"};
    case PhotoFormat::Unknown:
        break;
    }
    return {"Unknown", "unknown"};
}

} // namespace

const char* FormatDisplayName(PhotoFormat format) {
    return NamesOf(format).display;
}

const char* FormatShortName(PhotoFormat format) {
    return NamesOf(format).shortName;
}
