#pragma once

// The file formats the photo reader recognises by their content.
enum class PhotoFormat {
    Unknown,
    Jpeg,
    Tiff,
    Dng,
    Cr2,
    Nef,
    Nrw,
    Arw,
    Sr2,
    Srf,
    Pef,
    Srw,
    Orf,
    Rw2,
    PanasonicRaw,
    Rwl,
    Hasselblad3fr,
    Iiq,
    Erf,
    Mef,
    Mos,
    Dcr,
    Kdc,
    Cr3,
    Heic,
    Heif, // HEIF of another codec
    Avif,
    Jxl,
    Png,
    WebpLossy,
    WebpLossless,
    Raf,
    // Movies, read for their metadata only.
    Mov,
    Mp4,
    M4v,
    ThreeGp,
};

// A QuickTime or MP4 movie rather than a photo.
inline bool IsMovieFormat(PhotoFormat format) {
    return format == PhotoFormat::Mov || format == PhotoFormat::Mp4 || format == PhotoFormat::M4v ||
           format == PhotoFormat::ThreeGp;
}

// The name shown as the "Encoding" row ("Canon CR2", "HEIF (HEVC)", ...).
const char* FormatDisplayName(PhotoFormat format);
// A short lowercase name for machine output ("jpeg", "cr2", "heic", ...).
const char* FormatShortName(PhotoFormat format);
