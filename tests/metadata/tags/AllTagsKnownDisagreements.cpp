#include "tests/metadata/tags/AllTagsKnownDisagreements.h"

namespace {

// Panasonic's RW2 keeps a whole JPEG, with an EXIF block of its own, in its
// IFD0 tag 0x002E; its entries are listed where the raw directories have
// none of the same group and id. The raw IFD0's 0x011A is Panasonic's own,
// not XResolution, so the JPEG's XResolution is not listed; the JPEG's
// thumbnail offset counts from that JPEG's EXIF block, not the file.
constexpr const char* kRw2EmbeddedExif =
    "the raw IFD0's own 0x011A stands where exiftool lists the embedded JPEG's XResolution; "
    "the embedded thumbnail's offset counts from that JPEG's EXIF block";

constexpr AllTagsKnownDisagreement kKnown[] = {
    {"ricoh-dc-3z-lowres.jpg", "IFD0:Copyright",
     "the text holds the Latin-1 byte 0xF6; we show it as \"ö\", exiftool as \"?\""},
    {"X__Panasonic.rw2", "IFD0:XResolution", kRw2EmbeddedExif},
    {"X__Panasonic.rw2", "IFD1:ThumbnailOffset", kRw2EmbeddedExif},
};

} // namespace

std::span<const AllTagsKnownDisagreement> AllTagsKnownDisagreements() {
    return kKnown;
}
