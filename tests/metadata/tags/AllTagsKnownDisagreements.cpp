#include "tests/metadata/tags/AllTagsKnownDisagreements.h"

namespace {

constexpr AllTagsKnownDisagreement kKnown[] = {
    {"ricoh-dc-3z-lowres.jpg", "IFD0:Copyright",
     "the text holds the Latin-1 byte 0xF6; we show it as \"ö\", exiftool as \"?\""},
};

} // namespace

std::span<const AllTagsKnownDisagreement> AllTagsKnownDisagreements() {
    return kKnown;
}
