#include "tests/metadata/tags/AllTagsKnownDisagreements.h"

namespace {

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
