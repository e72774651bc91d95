#include "metadata/makernotes/SonyTagNames.h"

#include <algorithm>

namespace {

struct NameRow {
    uint16_t tag;
    std::string_view name;
};

// The entries of Sony's main directory, by id.
constexpr NameRow kNames[] = {
    {0x0010, "CameraInfo"},
    {0x0020, "FocusInfo"},
    {0x0102, "Quality"},
    {0x0104, "FlashExposureComp"},
    {0x0105, "Teleconverter"},
    {0x0112, "WhiteBalanceFineTune"},
    {0x0114, "CameraSettings"},
    {0x0115, "WhiteBalance"},
    {0x0116, "ExtraInfo"},
    {0x0E00, "PrintIM"},
    {0x1000, "MultiBurstMode"},
    {0x1001, "MultiBurstImageWidth"},
    {0x1002, "MultiBurstImageHeight"},
    {0x1003, "Panorama"},
    {0x2001, "PreviewImage"},
    {0x2002, "Rating"},
    {0x2004, "Contrast"},
    {0x2005, "Saturation"},
    {0x2006, "Sharpness"},
    {0x2007, "Brightness"},
    {0x2008, "LongExposureNoiseReduction"},
    {0x2009, "HighISONoiseReduction"},
    {0x200A, "HDR"},
    {0x200B, "MultiFrameNoiseReduction"},
    {0x200E, "PictureEffect"},
    {0x200F, "SoftSkinEffect"},
    {0x2010, "Tag2010"},
    {0x2011, "VignettingCorrection"},
    {0x2012, "LateralChromaticAberration"},
    {0x2013, "DistortionCorrectionSetting"},
    {0x2014, "WBShiftAB_GM"},
    {0x2016, "AutoPortraitFramed"},
    {0x2017, "FlashAction"},
    {0x201A, "ElectronicFrontCurtainShutter"},
    {0x201B, "FocusMode"},
    {0x201C, "AFAreaModeSetting"},
    {0x201D, "FlexibleSpotPosition"},
    {0x201E, "AFPointSelected"},
    {0x2020, "AFPointsUsed"},
    {0x2021, "AFTracking"},
    {0x2022, "FocalPlaneAFPointsUsed"},
    {0x2023, "MultiFrameNREffect"},
    {0x2026, "WBShiftAB_GM_Precise"},
    {0x2027, "FocusLocation"},
    {0x2028, "VariableLowPassFilter"},
    {0x2029, "RAWFileType"},
    {0x202A, "Tag202a"},
    {0x202B, "PrioritySetInAWB"},
    {0x202C, "MeteringMode2"},
    {0x202D, "ExposureStandardAdjustment"},
    {0x202E, "Quality"},
    {0x202F, "PixelShiftInfo"},
    {0x2031, "SerialNumber"},
    {0x2032, "Shadows"},
    {0x2033, "Highlights"},
    {0x2034, "Fade"},
    {0x2035, "SharpnessRange"},
    {0x2036, "Clarity"},
    {0x2037, "FocusFrameSize"},
    {0x2039, "JPEG-HEIFSwitch"},
    {0x3000, "ShotInfo"},
    {0x900B, "Tag900b"},
    {0x9050, "Tag9050"},
    {0x9400, "Tag9400"},
    {0x9401, "Tag9401"},
    {0x9402, "Tag9402"},
    {0x9403, "Tag9403"},
    {0x9404, "Tag9404"},
    {0x9405, "Tag9405"},
    {0x9406, "Tag9406"},
    {0x940A, "Tag940a"},
    {0x940C, "Tag940c"},
    {0x940E, "AFInfo"},
    {0x9416, "Sony_0x9416"},
    {0xB000, "FileFormat"},
    {0xB001, "SonyModelID"},
    {0xB020, "CreativeStyle"},
    {0xB021, "ColorTemperature"},
    {0xB022, "ColorCompensationFilter"},
    {0xB023, "SceneMode"},
    {0xB024, "ZoneMatching"},
    {0xB025, "DynamicRangeOptimizer"},
    {0xB026, "ImageStabilization"},
    {0xB027, "LensType"},
    {0xB028, "MinoltaMakerNote"},
    {0xB029, "ColorMode"},
    {0xB02A, "LensSpec"},
    {0xB02B, "FullImageSize"},
};

} // namespace

std::string_view SonyTagName(uint16_t tag) {
    const auto* end = std::end(kNames);
    const auto* it = std::lower_bound(std::begin(kNames), end, tag,
                                      [](const NameRow& row, uint16_t t) { return row.tag < t; });
    return it != end && it->tag == tag ? it->name : std::string_view();
}
