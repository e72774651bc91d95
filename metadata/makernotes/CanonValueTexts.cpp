// What the numbers of Canon's enumerated fields mean.

#include "metadata/makernotes/CanonValueTexts.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>

namespace {

constexpr ValueText kCameraSettingsMacroMode[] = {
    {1, "Macro"},
    {2, "Normal"},
};
constexpr ValueText kCameraSettingsQuality[] = {
    {-1, "n/a"}, {1, "Economy"},       {2, "Normal"},
    {3, "Fine"}, {4, "RAW"},           {5, "Superfine"},
    {7, "CRAW"}, {130, "Light (RAW)"}, {131, "Standard (RAW)"},
};
constexpr ValueText kCameraSettingsCanonFlashMode[] = {
    {-1, "n/a"},
    {0, "Off"},
    {1, "Auto"},
    {2, "On"},
    {3, "Red-eye reduction"},
    {4, "Slow-sync"},
    {5, "Red-eye reduction (Auto)"},
    {6, "Red-eye reduction (On)"},
    {16, "External flash"},
};
constexpr ValueText kCameraSettingsContinuousDrive[] = {
    {0, "Single"},          {1, "Continuous"},
    {2, "Movie"},           {3, "Continuous, Speed Priority"},
    {4, "Continuous, Low"}, {5, "Continuous, High"},
    {6, "Silent Single"},   {8, "Continuous, High+"},
    {9, "Single, Silent"},  {10, "Continuous, Silent"},
};
constexpr ValueText kCameraSettingsFocusMode[] = {
    {0, "One-shot AF"}, {1, "AI Servo AF"}, {2, "AI Focus AF"},        {3, "Manual Focus (3)"},
    {4, "Single"},      {5, "Continuous"},  {6, "Manual Focus (6)"},   {16, "Pan Focus"},
    {256, "AF + MF"},   {257, "Live View"}, {512, "Movie Snap Focus"}, {519, "Movie Servo AF"},
};
constexpr ValueText kCameraSettingsRecordMode[] = {
    {1, "JPEG"}, {2, "CRW+THM"},   {3, "AVI+THM"}, {4, "TIF"},      {5, "TIF+JPEG"},
    {6, "CR2"},  {7, "CR2+JPEG"},  {9, "MOV"},     {10, "MP4"},     {11, "CRM"},
    {12, "CR3"}, {13, "CR3+JPEG"}, {14, "HIF"},    {15, "CR3+HIF"},
};
constexpr ValueText kCameraSettingsCanonImageSize[] = {
    {-1, "n/a"},
    {0, "Large"},
    {1, "Medium"},
    {2, "Small"},
    {5, "Medium 1"},
    {6, "Medium 2"},
    {7, "Medium 3"},
    {8, "Postcard"},
    {9, "Widescreen"},
    {10, "Medium Widescreen"},
    {14, "Small 1"},
    {15, "Small 2"},
    {16, "Small 3"},
    {128, "640x480 Movie"},
    {129, "Medium Movie"},
    {130, "Small Movie"},
    {137, "1280x720 Movie"},
    {142, "1920x1080 Movie"},
    {143, "4096x2160 Movie"},
};
constexpr ValueText kCameraSettingsEasyMode[] = {
    {0, "Full auto"},
    {1, "Manual"},
    {2, "Landscape"},
    {3, "Fast shutter"},
    {4, "Slow shutter"},
    {5, "Night"},
    {6, "Gray Scale"},
    {7, "Sepia"},
    {8, "Portrait"},
    {9, "Sports"},
    {10, "Macro"},
    {11, "Black & White"},
    {12, "Pan focus"},
    {13, "Vivid"},
    {14, "Neutral"},
    {15, "Flash Off"},
    {16, "Long Shutter"},
    {17, "Super Macro"},
    {18, "Foliage"},
    {19, "Indoor"},
    {20, "Fireworks"},
    {21, "Beach"},
    {22, "Underwater"},
    {23, "Snow"},
    {24, "Kids & Pets"},
    {25, "Night Snapshot"},
    {26, "Digital Macro"},
    {27, "My Colors"},
    {28, "Movie Snap"},
    {29, "Super Macro 2"},
    {30, "Color Accent"},
    {31, "Color Swap"},
    {32, "Aquarium"},
    {33, "ISO 3200"},
    {34, "ISO 6400"},
    {35, "Creative Light Effect"},
    {36, "Easy"},
    {37, "Quick Shot"},
    {38, "Creative Auto"},
    {39, "Zoom Blur"},
    {40, "Low Light"},
    {41, "Nostalgic"},
    {42, "Super Vivid"},
    {43, "Poster Effect"},
    {44, "Face Self-timer"},
    {45, "Smile"},
    {46, "Wink Self-timer"},
    {47, "Fisheye Effect"},
    {48, "Miniature Effect"},
    {49, "High-speed Burst"},
    {50, "Best Image Selection"},
    {51, "High Dynamic Range"},
    {52, "Handheld Night Scene"},
    {53, "Movie Digest"},
    {54, "Live View Control"},
    {55, "Discreet"},
    {56, "Blur Reduction"},
    {57, "Monochrome"},
    {58, "Toy Camera Effect"},
    {59, "Scene Intelligent Auto"},
    {60, "High-speed Burst HQ"},
    {61, "Smooth Skin"},
    {62, "Soft Focus"},
    {68, "Food"},
    {84, "HDR Art Standard"},
    {85, "HDR Art Vivid"},
    {93, "HDR Art Bold"},
    {257, "Spotlight"},
    {258, "Night 2"},
    {259, "Night+"},
    {260, "Super Night"},
    {261, "Sunset"},
    {263, "Night Scene"},
    {264, "Surface"},
    {265, "Low Light 2"},
};
constexpr ValueText kCameraSettingsDigitalZoom[] = {
    {0, "None"},
    {1, "2x"},
    {2, "4x"},
    {3, "Other"},
};
constexpr ValueText kCameraSettingsMeteringMode[] = {
    {0, "Default"},    {1, "Spot"},    {2, "Average"},
    {3, "Evaluative"}, {4, "Partial"}, {5, "Center-weighted average"},
};
constexpr ValueText kCameraSettingsFocusRange[] = {
    {0, "Manual"},     {1, "Auto"},        {2, "Not Known"},    {3, "Macro"},
    {4, "Very Close"}, {5, "Close"},       {6, "Middle Range"}, {7, "Far Range"},
    {8, "Pan Focus"},  {9, "Super Macro"}, {10, "Infinity"},
};
constexpr ValueText kCameraSettingsCanonExposureMode[] = {
    {0, "Easy"},
    {1, "Program AE"},
    {2, "Shutter speed priority AE"},
    {3, "Aperture-priority AE"},
    {4, "Manual"},
    {5, "Depth-of-field AE"},
    {6, "M-Dep"},
    {7, "Bulb"},
    {8, "Flexible-priority AE"},
};
constexpr ValueText kCameraSettingsImageStabilization[] = {
    {0, "Off"},           {1, "On"},
    {2, "Shoot Only"},    {3, "Panning"},
    {4, "Dynamic"},       {256, "Off (2)"},
    {257, "On (2)"},      {258, "Shoot Only (2)"},
    {259, "Panning (2)"}, {260, "Dynamic (2)"},
};
constexpr ValueText kCameraSettingsSRAWQuality[] = {
    {0, "n/a"},
    {1, "sRAW1 (mRAW)"},
    {2, "sRAW2 (sRAW)"},
};
constexpr ValueText kCameraSettingsAESetting[] = {
    {0, "Normal AE"}, {1, "Exposure Compensation"}, {2, "AE Lock"}, {3, "AE Lock + Exposure Comp."},
    {4, "No AE"},
};
constexpr ValueText kCameraSettingsSpotMeteringMode[] = {
    {0, "Center"},
    {1, "AF Point"},
};
constexpr ValueText kCameraSettingsPhotoEffect[] = {
    {0, "Off"},   {1, "Vivid"}, {2, "Neutral"}, {3, "Smooth"},
    {4, "Sepia"}, {5, "B&W"},   {6, "Custom"},  {100, "My Color Data"},
};
constexpr ValueText kCameraSettingsFocusContinuous[] = {
    {0, "Single"},
    {1, "Continuous"},
    {8, "Manual"},
};
constexpr ValueText kShotInfoWhiteBalance[] = {
    {0, "Auto"},        {1, "Daylight"},
    {2, "Cloudy"},      {3, "Tungsten"},
    {4, "Fluorescent"}, {5, "Flash"},
    {6, "Custom"},      {7, "Black & White"},
    {8, "Shade"},       {9, "Manual Temperature (Kelvin)"},
    {10, "PC Set1"},    {11, "PC Set2"},
    {12, "PC Set3"},    {14, "Daylight Fluorescent"},
    {15, "Custom 1"},   {16, "Custom 2"},
    {17, "Underwater"}, {18, "Custom 3"},
    {19, "Custom 4"},   {20, "PC Set4"},
    {21, "PC Set5"},    {23, "Auto (ambience priority)"},
};
constexpr ValueText kShotInfoSlowShutter[] = {
    {-1, "n/a"}, {0, "Off"}, {1, "Night Scene"}, {2, "On"}, {3, "None"},
};
constexpr ValueText kShotInfoAutoExposureBracketing[] = {
    {-1, "On"}, {0, "Off"}, {1, "On (shot 1)"}, {2, "On (shot 2)"}, {3, "On (shot 3)"},
};
constexpr ValueText kShotInfoControlMode[] = {
    {0, "n/a"},
    {1, "Camera Local Control"},
    {3, "Computer Remote Control"},
};
constexpr ValueText kShotInfoCameraType[] = {
    {0, "n/a"}, {248, "EOS High-end"}, {250, "Compact"}, {252, "EOS Mid-range"}, {255, "DV Camera"},
};
constexpr ValueText kShotInfoAutoRotate[] = {
    {-1, "n/a"}, {0, "None"}, {1, "Rotate 90 CW"}, {2, "Rotate 180"}, {3, "Rotate 270 CW"},
};
constexpr ValueText kShotInfoNDFilter[] = {
    {-1, "n/a"},
    {0, "Off"},
    {1, "On"},
};
constexpr ValueText kFileInfoBracketMode[] = {
    {0, "Off"}, {1, "AEB"}, {2, "FEB"}, {3, "ISO"}, {4, "WB"},
};
constexpr ValueText kFileInfoRawJpgQuality[] = {
    {-1, "n/a"}, {1, "Economy"},       {2, "Normal"},
    {3, "Fine"}, {4, "RAW"},           {5, "Superfine"},
    {7, "CRAW"}, {130, "Light (RAW)"}, {131, "Standard (RAW)"},
};
constexpr ValueText kFileInfoRawJpgSize[] = {
    {-1, "n/a"},
    {0, "Large"},
    {1, "Medium"},
    {2, "Small"},
    {5, "Medium 1"},
    {6, "Medium 2"},
    {7, "Medium 3"},
    {8, "Postcard"},
    {9, "Widescreen"},
    {10, "Medium Widescreen"},
    {14, "Small 1"},
    {15, "Small 2"},
    {16, "Small 3"},
    {128, "640x480 Movie"},
    {129, "Medium Movie"},
    {130, "Small Movie"},
    {137, "1280x720 Movie"},
    {142, "1920x1080 Movie"},
    {143, "4096x2160 Movie"},
};
constexpr ValueText kFileInfoLongExposureNoiseReduction2[] = {
    {0, "Off"},
    {1, "On (1D)"},
    {3, "On"},
    {4, "Auto"},
};
constexpr ValueText kFileInfoWBBracketMode[] = {
    {0, "Off"},
    {1, "On (shift AB)"},
    {2, "On (shift GM)"},
};
constexpr ValueText kFileInfoFilterEffect[] = {
    {0, "None"}, {1, "Yellow"}, {2, "Orange"}, {3, "Red"}, {4, "Green"},
};
constexpr ValueText kFileInfoToningEffect[] = {
    {0, "None"}, {1, "Sepia"}, {2, "Blue"}, {3, "Purple"}, {4, "Green"},
};
constexpr ValueText kFileInfoLiveViewShooting[] = {
    {0, "Off"},
    {1, "On"},
};
constexpr ValueText kFileInfoShutterMode[] = {
    {0, "Mechanical"},
    {1, "Electronic First Curtain"},
    {2, "Electronic"},
};
constexpr ValueText kFileInfoFlashExposureLock[] = {
    {0, "Off"},
    {1, "On"},
};
constexpr ValueText kProcessingToneCurve[] = {
    {0, "Standard"},
    {1, "Manual"},
    {2, "Custom"},
};
constexpr ValueText kProcessingSharpnessFrequency[] = {
    {0, "n/a"}, {1, "Lowest"}, {2, "Low"}, {3, "Standard"}, {4, "High"}, {5, "Highest"},
};
constexpr ValueText kProcessingPictureStyle[] = {
    {0, "None"},         {1, "Standard"},       {2, "Portrait"},     {3, "High Saturation"},
    {4, "Adobe RGB"},    {5, "Low Saturation"}, {6, "CM Set 1"},     {7, "CM Set 2"},
    {33, "User Def. 1"}, {34, "User Def. 2"},   {35, "User Def. 3"}, {65, "PC 1"},
    {66, "PC 2"},        {67, "PC 3"},          {129, "Standard"},   {130, "Portrait"},
    {131, "Landscape"},  {132, "Neutral"},      {133, "Faithful"},   {134, "Monochrome"},
    {135, "Auto"},       {136, "Fine Detail"},  {255, "n/a"},        {65535, "n/a"},
};
constexpr ValueText kAFInfo2AFAreaMode[] = {
    {0, "Off (Manual Focus)"},
    {1, "AF Point Expansion (surround)"},
    {2, "Single-point AF"},
    {4, "Auto"},
    {5, "Face Detect AF"},
    {6, "Face + Tracking"},
    {7, "Zone AF"},
    {8, "AF Point Expansion (4 point)"},
    {9, "Spot AF"},
    {10, "AF Point Expansion (8 point)"},
    {11, "Flexizone Multi (49 point)"},
    {12, "Flexizone Multi (9 point)"},
    {13, "Flexizone Single"},
    {14, "Large Zone AF"},
};
constexpr ValueText kMainColorSpace[] = {
    {1, "sRGB"},
    {2, "Adobe RGB"},
    {65535, "n/a"},
};
constexpr ValueText kLightingOptPeripheralIlluminationCorr[] = {
    {0, "Off"},
    {1, "On"},
};
constexpr ValueText kLightingOptAutoLightingOptimizer[] = {
    {0, "Standard"},
    {1, "Low"},
    {2, "Strong"},
    {3, "Off"},
};
constexpr ValueText kLightingOptHighlightTonePriority[] = {
    {0, "Off"},
    {1, "On"},
};
constexpr ValueText kLightingOptLongExposureNoiseReduction[] = {
    {0, "Off"},
    {1, "Auto"},
    {2, "On"},
};
constexpr ValueText kLightingOptHighISONoiseReduction[] = {
    {0, "Standard"},
    {1, "Low"},
    {2, "Strong"},
    {3, "Off"},
};
constexpr ValueText kAspectInfoAspectRatio[] = {
    {0, "3:2"},
    {1, "1:1"},
    {2, "4:3"},
    {7, "16:9"},
    {8, "4:5"},
    {12, "3:2 (APS-H crop)"},
    {13, "3:2 (APS-C crop)"},
    {258, "4:3 crop"},
};
constexpr ValueText kVignettingCorrPeripheralLighting[] = {
    {0, "Off"},
    {1, "On"},
};
constexpr ValueText kVignettingCorrDistortionCorrection[] = {
    {0, "Off"},
    {1, "On"},
};
constexpr ValueText kVignettingCorrChromaticAberrationCorr[] = {
    {0, "Off"},
    {1, "On"},
};
constexpr ValueText kAmbienceAmbienceSelection[] = {
    {0, "Standard"}, {1, "Vivid"},    {2, "Warm"},   {3, "Soft"},       {4, "Cool"},
    {5, "Intense"},  {6, "Brighter"}, {7, "Darker"}, {8, "Monochrome"},
};

struct FieldTexts {
    std::string_view record;
    std::string_view field;
    const ValueText* texts;
    size_t count;
};

constexpr FieldTexts kFields[] = {
    {"CameraSettings", "MacroMode", kCameraSettingsMacroMode, std::size(kCameraSettingsMacroMode)},
    {"CameraSettings", "Quality", kCameraSettingsQuality, std::size(kCameraSettingsQuality)},
    {"CameraSettings", "CanonFlashMode", kCameraSettingsCanonFlashMode,
     std::size(kCameraSettingsCanonFlashMode)},
    {"CameraSettings", "ContinuousDrive", kCameraSettingsContinuousDrive,
     std::size(kCameraSettingsContinuousDrive)},
    {"CameraSettings", "FocusMode", kCameraSettingsFocusMode, std::size(kCameraSettingsFocusMode)},
    {"CameraSettings", "RecordMode", kCameraSettingsRecordMode,
     std::size(kCameraSettingsRecordMode)},
    {"CameraSettings", "CanonImageSize", kCameraSettingsCanonImageSize,
     std::size(kCameraSettingsCanonImageSize)},
    {"CameraSettings", "EasyMode", kCameraSettingsEasyMode, std::size(kCameraSettingsEasyMode)},
    {"CameraSettings", "DigitalZoom", kCameraSettingsDigitalZoom,
     std::size(kCameraSettingsDigitalZoom)},
    {"CameraSettings", "MeteringMode", kCameraSettingsMeteringMode,
     std::size(kCameraSettingsMeteringMode)},
    {"CameraSettings", "FocusRange", kCameraSettingsFocusRange,
     std::size(kCameraSettingsFocusRange)},
    {"CameraSettings", "CanonExposureMode", kCameraSettingsCanonExposureMode,
     std::size(kCameraSettingsCanonExposureMode)},
    {"CameraSettings", "ImageStabilization", kCameraSettingsImageStabilization,
     std::size(kCameraSettingsImageStabilization)},
    {"CameraSettings", "SRAWQuality", kCameraSettingsSRAWQuality,
     std::size(kCameraSettingsSRAWQuality)},
    {"CameraSettings", "AESetting", kCameraSettingsAESetting, std::size(kCameraSettingsAESetting)},
    {"CameraSettings", "SpotMeteringMode", kCameraSettingsSpotMeteringMode,
     std::size(kCameraSettingsSpotMeteringMode)},
    {"CameraSettings", "PhotoEffect", kCameraSettingsPhotoEffect,
     std::size(kCameraSettingsPhotoEffect)},
    {"CameraSettings", "FocusContinuous", kCameraSettingsFocusContinuous,
     std::size(kCameraSettingsFocusContinuous)},
    {"ShotInfo", "WhiteBalance", kShotInfoWhiteBalance, std::size(kShotInfoWhiteBalance)},
    {"ShotInfo", "SlowShutter", kShotInfoSlowShutter, std::size(kShotInfoSlowShutter)},
    {"ShotInfo", "AutoExposureBracketing", kShotInfoAutoExposureBracketing,
     std::size(kShotInfoAutoExposureBracketing)},
    {"ShotInfo", "ControlMode", kShotInfoControlMode, std::size(kShotInfoControlMode)},
    {"ShotInfo", "CameraType", kShotInfoCameraType, std::size(kShotInfoCameraType)},
    {"ShotInfo", "AutoRotate", kShotInfoAutoRotate, std::size(kShotInfoAutoRotate)},
    {"ShotInfo", "NDFilter", kShotInfoNDFilter, std::size(kShotInfoNDFilter)},
    {"FileInfo", "BracketMode", kFileInfoBracketMode, std::size(kFileInfoBracketMode)},
    {"FileInfo", "RawJpgQuality", kFileInfoRawJpgQuality, std::size(kFileInfoRawJpgQuality)},
    {"FileInfo", "RawJpgSize", kFileInfoRawJpgSize, std::size(kFileInfoRawJpgSize)},
    {"FileInfo", "LongExposureNoiseReduction2", kFileInfoLongExposureNoiseReduction2,
     std::size(kFileInfoLongExposureNoiseReduction2)},
    {"FileInfo", "WBBracketMode", kFileInfoWBBracketMode, std::size(kFileInfoWBBracketMode)},
    {"FileInfo", "FilterEffect", kFileInfoFilterEffect, std::size(kFileInfoFilterEffect)},
    {"FileInfo", "ToningEffect", kFileInfoToningEffect, std::size(kFileInfoToningEffect)},
    {"FileInfo", "LiveViewShooting", kFileInfoLiveViewShooting,
     std::size(kFileInfoLiveViewShooting)},
    {"FileInfo", "ShutterMode", kFileInfoShutterMode, std::size(kFileInfoShutterMode)},
    {"FileInfo", "FlashExposureLock", kFileInfoFlashExposureLock,
     std::size(kFileInfoFlashExposureLock)},
    {"Processing", "ToneCurve", kProcessingToneCurve, std::size(kProcessingToneCurve)},
    {"Processing", "SharpnessFrequency", kProcessingSharpnessFrequency,
     std::size(kProcessingSharpnessFrequency)},
    {"Processing", "PictureStyle", kProcessingPictureStyle, std::size(kProcessingPictureStyle)},
    {"AFInfo2", "AFAreaMode", kAFInfo2AFAreaMode, std::size(kAFInfo2AFAreaMode)},
    {"Main", "ColorSpace", kMainColorSpace, std::size(kMainColorSpace)},
    {"LightingOpt", "PeripheralIlluminationCorr", kLightingOptPeripheralIlluminationCorr,
     std::size(kLightingOptPeripheralIlluminationCorr)},
    {"LightingOpt", "AutoLightingOptimizer", kLightingOptAutoLightingOptimizer,
     std::size(kLightingOptAutoLightingOptimizer)},
    {"LightingOpt", "HighlightTonePriority", kLightingOptHighlightTonePriority,
     std::size(kLightingOptHighlightTonePriority)},
    {"LightingOpt", "LongExposureNoiseReduction", kLightingOptLongExposureNoiseReduction,
     std::size(kLightingOptLongExposureNoiseReduction)},
    {"LightingOpt", "HighISONoiseReduction", kLightingOptHighISONoiseReduction,
     std::size(kLightingOptHighISONoiseReduction)},
    {"AspectInfo", "AspectRatio", kAspectInfoAspectRatio, std::size(kAspectInfoAspectRatio)},
    {"VignettingCorr", "PeripheralLighting", kVignettingCorrPeripheralLighting,
     std::size(kVignettingCorrPeripheralLighting)},
    {"VignettingCorr", "DistortionCorrection", kVignettingCorrDistortionCorrection,
     std::size(kVignettingCorrDistortionCorrection)},
    {"VignettingCorr", "ChromaticAberrationCorr", kVignettingCorrChromaticAberrationCorr,
     std::size(kVignettingCorrChromaticAberrationCorr)},
    {"Ambience", "AmbienceSelection", kAmbienceAmbienceSelection,
     std::size(kAmbienceAmbienceSelection)},
};

} // namespace

namespace {

// The rows in (record, field) order, sorted once when compiled: a lookup
// is a binary search, not a scan comparing names.
constexpr bool Before(const FieldTexts& a, const FieldTexts& b) {
    return a.record != b.record ? a.record < b.record : a.field < b.field;
}
constexpr auto kSortedFields = [] {
    std::array<FieldTexts, std::size(kFields)> rows{};
    std::copy(std::begin(kFields), std::end(kFields), rows.begin());
    std::sort(rows.begin(), rows.end(), Before);
    return rows;
}();

// The row of a record's field, or nullptr. A note asks for the same few
// fields again and again, named by the same constants: the row found for a
// pair of names is kept by the names' addresses.
const FieldTexts* FindField(std::string_view record, std::string_view field) {
    struct Seen {
        std::string_view record, field;
        const FieldTexts* row;
    };
    thread_local Seen seen[512] = {};
    const auto address =
        reinterpret_cast<uintptr_t>(record.data()) ^ reinterpret_cast<uintptr_t>(field.data()) >> 4;
    Seen& kept = seen[(address ^ address >> 7) % std::size(seen)];
    if (kept.record.data() == record.data() && kept.record.size() == record.size() &&
        kept.field.data() == field.data() && kept.field.size() == field.size())
        return kept.row;
    const FieldTexts key{record, field, nullptr, 0};
    const auto f = std::lower_bound(kSortedFields.begin(), kSortedFields.end(), key, Before);
    const FieldTexts* row =
        f != kSortedFields.end() && f->record == record && f->field == field ? &*f : nullptr;
    kept = {record, field, row};
    return row;
}

} // namespace

std::string_view CanonValueText(std::string_view record, std::string_view field, int64_t value) {
    const FieldTexts* f = FindField(record, field);
    if (f == nullptr)
        return {};
    const ValueText* end = f->texts + f->count;
    const ValueText* it = std::lower_bound(
        f->texts, end, value, [](const ValueText& t, int64_t v) { return t.value < v; });
    return it != end && it->value == value ? it->text : std::string_view();
}
