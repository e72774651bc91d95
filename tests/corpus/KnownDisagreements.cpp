#include "tests/corpus/KnownDisagreements.h"

namespace {

// exiftool drops the blanks that pad a text value to its full length; the
// record keeps the bytes as the camera wrote them, up to the first zero.
constexpr const char* kPaddedText =
    "the camera pads the text with trailing blanks, which the record keeps and exiftool drops";

constexpr KnownDisagreement kKnown[] = {
    {"bushnell-trophy-hd-aggressor.jpg", "exposureBias",
     "ExposureBiasValue is written as four SHORTs (36, 0, 18, 0) instead of one SRATIONAL; "
     "exiftool reads the 8 bytes as the SRATIONAL 36/18 = +2, the reader converts the first "
     "component in the stated format: 36"},
    {"casio-ex-m2-tests36.jpg", "cameraModel", kPaddedText},
    {"casio-ex-s1.jpg", "cameraModel", kPaddedText},
    {"kodak-pixpro-fz201.jpg", "cameraMake", kPaddedText},
    {"kodak-pixpro-fz201.jpg", "cameraModel", kPaddedText},
    {"konica_minolta_dimage_z3.jpg", "cameraMake", kPaddedText},
    {"olympus-e-420-issue339.jpg", "cameraModel", kPaddedText},
    {"olympus-x-2.jpg", "cameraModel", kPaddedText},
    {"panasonic-nv-gx7.jpg", "cameraModel", kPaddedText},
    {"pentax-optio-s4i.jpg", "cameraMake", kPaddedText},
    {"pentax-optio-s4i.jpg", "cameraModel", kPaddedText},
    {"ricoh-dc-3z-lowres.jpg", "cameraMake", kPaddedText},
    {"ricoh-dc-3z-lowres.jpg", "cameraModel", kPaddedText},
    {"ricoh_caplio_rr330.jpg", "cameraMake", kPaddedText},
    {"ricoh_caplio_rr330.jpg", "cameraModel", kPaddedText},
    {"samsung-gt-i9000.jpg", "cameraMake", kPaddedText},
};

} // namespace

std::span<const KnownDisagreement> KnownDisagreements() {
    return kKnown;
}
