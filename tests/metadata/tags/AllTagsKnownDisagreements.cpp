#include "tests/metadata/tags/AllTagsKnownDisagreements.h"

namespace {

// The reader's TIFF walk copies a TIFF or raw file's directories into one
// compact block and gives the embedded JPEG's offset and length (0x0201,
// 0x0202) as the preview instead, so that the record parser never takes
// file bytes for a thumbnail: the listing has no such entries.
constexpr const char* kJpegPointerLeftOut =
    "a TIFF/raw file's 0x0201/0x0202 are left out of the compact block the reader walks "
    "(given as the preview instead)";

// Panasonic's RW2 keeps a whole JPEG, with an EXIF block of its own, in its
// IFD0 tag 0x002E; exiftool reads that block too and lists its directories
// as IFD0, ExifIFD, InteropIFD and IFD1 beside the raw ones. We list the
// raw file's directories only (its 0x011A is Panasonic's own, not
// XResolution).
constexpr const char* kRw2EmbeddedExif =
    "exiftool also lists the EXIF block of the JPEG inside RW2 tag 0x002E under the same "
    "groups; we list the raw directories only";

constexpr AllTagsKnownDisagreement kKnown[] = {
    {"ricoh-dc-3z-lowres.jpg", "IFD0:Copyright",
     "the text holds the Latin-1 byte 0xF6; we show it as \"ö\", exiftool as \"?\""},
    {"D__362323f81c0160afd677241cd5ce92e9.tif", "IFD0:OtherImageStart", kJpegPointerLeftOut},
    {"D__362323f81c0160afd677241cd5ce92e9.tif", "IFD0:OtherImageLength", kJpegPointerLeftOut},
    {"D__362323f81c0160afd677241cd5ce92e9.tif", "IFD1:ThumbnailOffset", kJpegPointerLeftOut},
    {"D__362323f81c0160afd677241cd5ce92e9.tif", "IFD1:ThumbnailLength", kJpegPointerLeftOut},
    {"D__362323f81c0160afd677241cd5ce92e9.tif", "IFD2:JpgFromRawStart", kJpegPointerLeftOut},
    {"D__362323f81c0160afd677241cd5ce92e9.tif", "IFD2:JpgFromRawLength", kJpegPointerLeftOut},
    {"D__362323f81c0160afd677241cd5ce92e9.tif", "IFD3:OtherImageStart", kJpegPointerLeftOut},
    {"D__362323f81c0160afd677241cd5ce92e9.tif", "IFD3:OtherImageLength", kJpegPointerLeftOut},
    {"D__9b286add70871bbbef1601997b429344.tif", "IFD3:OtherImageStart", kJpegPointerLeftOut},
    {"D__9b286add70871bbbef1601997b429344.tif", "IFD3:OtherImageLength", kJpegPointerLeftOut},
    {"D__9b286add70871bbbef1601997b429344.tif", "SubIFD:JpgFromRawStart", kJpegPointerLeftOut},
    {"D__9b286add70871bbbef1601997b429344.tif", "SubIFD:JpgFromRawLength", kJpegPointerLeftOut},
    {"X__CanonRaw.cr2", "IFD1:ThumbnailOffset", kJpegPointerLeftOut},
    {"X__CanonRaw.cr2", "IFD1:ThumbnailLength", kJpegPointerLeftOut},
    {"X__Nikon.nef", "SubIFD:JpgFromRawStart", kJpegPointerLeftOut},
    {"X__Nikon.nef", "SubIFD:JpgFromRawLength", kJpegPointerLeftOut},
    {"X__Panasonic.rw2", "ExifIFD:ColorSpace", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "ExifIFD:ComponentsConfiguration", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "ExifIFD:CompressedBitsPerPixel", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "ExifIFD:Contrast", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "ExifIFD:CustomRendered", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "ExifIFD:DigitalZoomRatio", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "ExifIFD:ExifImageHeight", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "ExifIFD:ExifImageWidth", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "ExifIFD:ExposureMode", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "ExifIFD:FlashpixVersion", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "ExifIFD:FocalLengthIn35mmFormat", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "ExifIFD:GainControl", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "ExifIFD:ISO", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "ExifIFD:LightSource", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "ExifIFD:Saturation", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "ExifIFD:SceneCaptureType", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "ExifIFD:SceneType", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "ExifIFD:SensingMethod", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "ExifIFD:Sharpness", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "ExifIFD:WhiteBalance", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "IFD0:ModifyDate", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "IFD0:ResolutionUnit", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "IFD0:Software", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "IFD0:XResolution", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "IFD0:YCbCrPositioning", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "IFD0:YResolution", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "IFD1:Compression", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "IFD1:Orientation", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "IFD1:ResolutionUnit", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "IFD1:ThumbnailLength", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "IFD1:ThumbnailOffset", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "IFD1:XResolution", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "IFD1:YCbCrPositioning", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "IFD1:YResolution", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "InteropIFD:InteropIndex", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "InteropIFD:InteropVersion", kRw2EmbeddedExif},
};

} // namespace

std::span<const AllTagsKnownDisagreement> AllTagsKnownDisagreements() {
    return kKnown;
}
