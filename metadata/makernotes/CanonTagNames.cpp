// Names of the entries of Canon's maker-note directory, by tag. Gathered
// from the published Canon tag lists.

#include "metadata/makernotes/CanonTagNames.h"

#include <algorithm>
#include <iterator>

namespace {

struct TagName {
    uint16_t tag;
    std::string_view name;
};

constexpr TagName kCanonTags[] = {
    {0x0001, "CanonCameraSettings"},
    {0x0002, "CanonFocalLength"},
    {0x0003, "CanonFlashInfo"},
    {0x0004, "CanonShotInfo"},
    {0x0005, "CanonPanorama"},
    {0x0006, "CanonImageType"},
    {0x0007, "CanonFirmwareVersion"},
    {0x0008, "FileNumber"},
    {0x0009, "OwnerName"},
    {0x000A, "UnknownD30"},
    {0x000C, "SerialNumber"},
    {0x000D, "CanonCameraInfo"},
    {0x000E, "CanonFileLength"},
    {0x000F, "CustomFunctions1D"},
    {0x0010, "CanonModelID"},
    {0x0011, "MovieInfo"},
    {0x0012, "CanonAFInfo"},
    {0x0013, "ThumbnailImageValidArea"},
    {0x0015, "SerialNumberFormat"},
    {0x001A, "SuperMacro"},
    {0x001C, "DateStampMode"},
    {0x001D, "MyColors"},
    {0x001E, "FirmwareRevision"},
    {0x0023, "Categories"},
    {0x0024, "FaceDetect1"},
    {0x0025, "FaceDetect2"},
    {0x0026, "CanonAFInfo2"},
    {0x0027, "ContrastInfo"},
    {0x0028, "ImageUniqueID"},
    {0x0029, "WBInfo"},
    {0x002F, "FaceDetect3"},
    {0x0035, "TimeInfo"},
    {0x0038, "BatteryType"},
    {0x003C, "AFInfo3"},
    {0x0081, "RawDataOffset"},
    {0x0083, "OriginalDecisionDataOffset"},
    {0x0090, "CustomFunctions1D"},
    {0x0091, "PersonalFunctions"},
    {0x0092, "PersonalFunctionValues"},
    {0x0093, "CanonFileInfo"},
    {0x0094, "AFPointsInFocus1D"},
    {0x0095, "LensModel"},
    {0x0096, "InternalSerialNumber"},
    {0x0097, "DustRemovalData"},
    {0x0098, "CropInfo"},
    {0x0099, "CustomFunctions2"},
    {0x009A, "AspectInfo"},
    {0x00A0, "ProcessingInfo"},
    {0x00A1, "ToneCurveTable"},
    {0x00A2, "SharpnessTable"},
    {0x00A3, "SharpnessFreqTable"},
    {0x00A4, "WhiteBalanceTable"},
    {0x00A9, "ColorBalance"},
    {0x00AA, "MeasuredColor"},
    {0x00AE, "ColorTemperature"},
    {0x00B0, "CanonFlags"},
    {0x00B1, "ModifiedInfo"},
    {0x00B2, "ToneCurveMatching"},
    {0x00B3, "WhiteBalanceMatching"},
    {0x00B4, "ColorSpace"},
    {0x00B6, "PreviewImageInfo"},
    {0x00D0, "VRDOffset"},
    {0x00E0, "SensorInfo"},
    {0x4001, "ColorData"},
    {0x4002, "CRWParam"},
    {0x4003, "ColorInfo"},
    {0x4005, "Flavor"},
    {0x4008, "PictureStyleUserDef"},
    {0x4009, "PictureStylePC"},
    {0x4010, "CustomPictureStyleFileName"},
    {0x4013, "AFMicroAdj"},
    {0x4015, "VignettingCorr"},
    {0x4016, "VignettingCorr2"},
    {0x4018, "LightingOpt"},
    {0x4019, "LensInfo"},
    {0x4020, "AmbienceInfo"},
    {0x4021, "MultiExp"},
    {0x4024, "FilterInfo"},
    {0x4025, "HDRInfo"},
    {0x4026, "LogInfo"},
    {0x4028, "AFConfig"},
    {0x403F, "RawBurstModeRoll"},
};

} // namespace

std::string_view CanonTagName(uint16_t tag) {
    const auto it = std::lower_bound(std::begin(kCanonTags), std::end(kCanonTags), tag,
                                     [](const TagName& t, uint16_t v) { return t.tag < v; });
    return it != std::end(kCanonTags) && it->tag == tag ? it->name : std::string_view();
}
