#include "metadata/makernotes/NikonRecords.h"

#include <cstring>
#include <iterator>

namespace {

using F = NikonFormat;
using C = NikonConv;

constexpr NikonChoice kOnOff[] = {{0, "Off"}, {1, "On"}};
constexpr NikonChoice kAfAreaMode[] = {
    {0, "Single Area"},   {1, "Dynamic Area"},       {2, "Dynamic Area (closest subject)"},
    {3, "Group Dynamic"}, {4, "Single Area (wide)"}, {5, "Dynamic Area (wide)"}};
constexpr NikonChoice kAfPoint[] = {{0, "Center"},      {1, "Top"},        {2, "Bottom"},
                                    {3, "Mid-left"},    {4, "Mid-right"},  {5, "Upper-left"},
                                    {6, "Upper-right"}, {7, "Lower-left"}, {8, "Lower-right"},
                                    {9, "Far Left"},    {10, "Far Right"}};
constexpr NikonChoice kAfAreaMode2[] = {{0, "Single Area"},
                                        {1, "Dynamic Area"},
                                        {2, "Dynamic Area (closest subject)"},
                                        {3, "Group Dynamic"},
                                        {4, "Dynamic Area (9 points)"},
                                        {5, "Dynamic Area (21 points)"},
                                        {6, "Dynamic Area (51 points)"},
                                        {7, "Dynamic Area (51 points, 3D-tracking)"},
                                        {8, "Auto-area"},
                                        {9, "Dynamic Area (3D-tracking)"},
                                        {10, "Single Area (wide)"},
                                        {11, "Dynamic Area (wide)"},
                                        {12, "Dynamic Area (wide, 3D-tracking)"},
                                        {13, "Group Area"},
                                        {14, "Dynamic Area (25 points)"},
                                        {15, "Dynamic Area (72 points)"},
                                        {16, "Group Area (HL)"},
                                        {17, "Group Area (VL)"},
                                        {18, "Dynamic Area (49 points)"},
                                        {128, "Single"},
                                        {129, "Auto (41 points)"},
                                        {130, "Subject Tracking (41 points)"},
                                        {131, "Face Priority (41 points)"},
                                        {192, "Pinpoint"},
                                        {193, "Single"},
                                        {195, "Wide (S)"},
                                        {196, "Wide (L)"},
                                        {197, "Auto"}};
constexpr NikonChoice kPhaseDetect[] = {{0, "Off"},
                                        {1, "On (51-point)"},
                                        {2, "On (11-point)"},
                                        {3, "On (39-point)"},
                                        {4, "On (73-point)"}};
constexpr NikonChoice kVibration[] = {{0, "n/a"}, {1, "On"}, {2, "Off"}};
constexpr NikonChoice kVrMode[] = {{0, "Normal"}, {1, "On (1)"}, {2, "Active"}, {3, "Sport"}};
constexpr NikonChoice kPcAdjust[] = {
    {0, "Default Settings"}, {1, "Quick Adjust"}, {2, "Full Control"}};
constexpr NikonChoice kFilter[] = {{0x80, "Off"}, {0x81, "Yellow"}, {0x82, "Orange"},
                                   {0x83, "Red"}, {0x84, "Green"},  {0xff, "n/a"}};
constexpr NikonChoice kToning[] = {{0x80, "B&W"},        {0x81, "Sepia"},  {0x82, "Cyanotype"},
                                   {0x83, "Red"},        {0x84, "Yellow"}, {0x85, "Green"},
                                   {0x86, "Blue-green"}, {0x87, "Blue"},   {0x88, "Purple-blue"},
                                   {0x89, "Red-purple"}, {0xff, "n/a"}};
constexpr NikonChoice kDateFormat[] = {{0, "Y/M/D"}, {1, "M/D/Y"}, {2, "D/M/Y"}};
constexpr NikonChoice kYesNo[] = {{0, "No"}, {1, "Yes"}};
constexpr NikonChoice kFineTune[] = {{0, "Off"}, {1, "On"}, {2, "On (2)"}, {3, "On (3)"}};
constexpr NikonChoice kMultiMode[] = {
    {0, "Off"}, {1, "Multiple Exposure"}, {2, "Image Overlay"}, {3, "HDR"}};
constexpr NikonChoice kFlashSource[] = {{0, "None"}, {1, "External"}, {2, "Internal"}};
constexpr NikonChoice kMountType[] = {{0, "Z-mount"}, {1, "F-mount"}};

// LensData 0100 (D100, D1X and older).
constexpr NikonField kLens0100[] = {
    {0, F::Text, 4, C::None, "LensDataVersion"},
    {6, F::U8, 1, C::None, "LensIDNumber"},
    {7, F::U8, 1, C::Twelfths, "LensFStops"},
    {8, F::U8, 1, C::Focal, "MinFocalLength"},
    {9, F::U8, 1, C::Focal, "MaxFocalLength"},
    {10, F::U8, 1, C::Aperture, "MaxApertureAtMinFocal"},
    {11, F::U8, 1, C::Aperture, "MaxApertureAtMaxFocal"},
    {12, F::U8, 1, C::None, "MCUVersion"},
};

// LensData 0101 (D70), and 0201-0203 enciphered (D200, D2X, D3, D300, ...).
constexpr NikonField kLens0101[] = {
    {0, F::Text, 4, C::None, "LensDataVersion"},
    {4, F::U8, 1, C::ExitPupil, "ExitPupilPosition"},
    {5, F::U8, 1, C::Aperture, "AFAperture"},
    {8, F::U8, 1, C::None, "FocusPosition"},
    {9, F::U8, 1, C::FocusDistance, "FocusDistance"},
    {10, F::U8, 1, C::Focal, "FocalLength"},
    {11, F::U8, 1, C::None, "LensIDNumber"},
    {12, F::U8, 1, C::Twelfths, "LensFStops"},
    {13, F::U8, 1, C::Focal, "MinFocalLength"},
    {14, F::U8, 1, C::Focal, "MaxFocalLength"},
    {15, F::U8, 1, C::Aperture, "MaxApertureAtMinFocal"},
    {16, F::U8, 1, C::Aperture, "MaxApertureAtMaxFocal"},
    {17, F::U8, 1, C::None, "MCUVersion"},
    {18, F::U8, 1, C::Aperture, "EffectiveMaxAperture"},
};

// LensData 0204 (D90, D7000, ...): one byte more before the focus distance.
constexpr NikonField kLens0204[] = {
    {0, F::Text, 4, C::None, "LensDataVersion"},
    {4, F::U8, 1, C::ExitPupil, "ExitPupilPosition"},
    {5, F::U8, 1, C::Aperture, "AFAperture"},
    {8, F::U8, 1, C::None, "FocusPosition"},
    {10, F::U8, 1, C::FocusDistance, "FocusDistance"},
    {11, F::U8, 1, C::Focal, "FocalLength"},
    {12, F::U8, 1, C::None, "LensIDNumber"},
    {13, F::U8, 1, C::Twelfths, "LensFStops"},
    {14, F::U8, 1, C::Focal, "MinFocalLength"},
    {15, F::U8, 1, C::Focal, "MaxFocalLength"},
    {16, F::U8, 1, C::Aperture, "MaxApertureAtMinFocal"},
    {17, F::U8, 1, C::Aperture, "MaxApertureAtMaxFocal"},
    {18, F::U8, 1, C::None, "MCUVersion"},
    {19, F::U8, 1, C::Aperture, "EffectiveMaxAperture"},
};

// LensData 0400-0403 (Nikon 1): the lens model as text.
constexpr NikonField kLens0400[] = {
    {0, F::Text, 4, C::None, "LensDataVersion"},
    {394, F::Text, 64, C::None, "LensModel"},
};
constexpr NikonField kLens0402[] = {
    {0, F::Text, 4, C::None, "LensDataVersion"},
    {395, F::Text, 64, C::None, "LensModel"},
};
constexpr NikonField kLens0403[] = {
    {0, F::Text, 4, C::None, "LensDataVersion"},
    {684, F::Text, 64, C::None, "LensModel"},
};

// LensData 0800+ (Z bodies): the F-mount bytes moved by one, the Z lens
// number after them.
constexpr NikonField kLens0800[] = {
    {0, F::Text, 4, C::None, "LensDataVersion"},
    {4, F::U8, 1, C::ExitPupil, "ExitPupilPosition"},
    {5, F::U8, 1, C::Aperture, "AFAperture"},
    {11, F::U8, 1, C::FocusDistance, "FocusDistance"},
    {12, F::U8, 1, C::Focal, "FocalLength"},
    {13, F::U8, 1, C::None, "LensIDNumber"},
    {14, F::U8, 1, C::Twelfths, "LensFStops"},
    {15, F::U8, 1, C::Focal, "MinFocalLength"},
    {16, F::U8, 1, C::Focal, "MaxFocalLength"},
    {17, F::U8, 1, C::Aperture, "MaxApertureAtMinFocal"},
    {18, F::U8, 1, C::Aperture, "MaxApertureAtMaxFocal"},
    {19, F::U8, 1, C::None, "MCUVersion"},
    {20, F::U8, 1, C::Aperture, "EffectiveMaxAperture"},
    {48, F::U16, 1, C::None, "LensID"},
    {53, F::U8, 1, C::None, "LensMountType", kMountType},
};

constexpr NikonField kShotInfo[] = {
    {0, F::Text, 4, C::None, "ShotInfoVersion"},
    {4, F::Text, 5, C::None, "FirmwareVersion"},
};
constexpr NikonChoice kImageArea[] = {
    {0, "FX (36.0 x 23.9 mm)"}, {1, "DX (23.5 x 15.6 mm)"}, {2, "5:4 (30.0 x 23.9 mm)"}};
constexpr NikonChoice kImageSize[] = {{0, "Large"}, {1, "Medium"}, {2, "Small"}};
constexpr NikonChoice kImageQuality[] = {{0, "NEF (RAW) + JPEG Fine"},
                                         {1, "NEF (RAW) + JPEG Norm"},
                                         {2, "NEF (RAW) + JPEG Basic"},
                                         {3, "NEF (RAW)"},
                                         {4, "TIF (RGB)"},
                                         {5, "JPEG Fine"},
                                         {6, "JPEG Normal"},
                                         {7, "JPEG Basic"}};

// The D3 (firmware 1.10 on) and the D700 keep more there.
constexpr NikonField kShotInfoD3[] = {
    {0, F::Text, 4, C::None, "ShotInfoVersion"},
    {4, F::Text, 5, C::None, "FirmwareVersion"},
    {0x10, F::U8, 1, C::None, "ImageArea", kImageArea},
    {0x25D, F::U8, 1, C::Iso, "ISO2"},
    {0x28A, F::U8, 1, C::None, "PreFlashReturnStrength"},
    {732, F::U8, 1, C::None, "NikonImageSize", kImageSize, 0x18},
    {732, F::U8, 1, C::None, "ImageQuality", kImageQuality, 0x07},
};
constexpr NikonField kShotInfoD700[] = {
    {0, F::Text, 4, C::None, "ShotInfoVersion"},
    {4, F::Text, 5, C::None, "FirmwareVersion"},
    {613, F::U8, 1, C::Iso, "ISO2"},
};
// The versions before 0102 keep no firmware there.
constexpr NikonField kShotInfoVersionOnly[] = {
    {0, F::Text, 4, C::None, "ShotInfoVersion"},
};

constexpr NikonField kAfInfo[] = {
    {0, F::U8, 1, C::None, "AFAreaMode", kAfAreaMode},
    {1, F::U8, 1, C::None, "AFPoint", kAfPoint},
    {2, F::U16, 1, C::None, "AFPointsInFocus"},
};

constexpr NikonField kAfInfo2[] = {
    {0, F::Text, 4, C::None, "AFInfo2Version"},
    {4, F::U8, 1, C::None, "ContrastDetectAF", kOnOff},
    {5, F::U8, 1, C::None, "AFAreaMode", kAfAreaMode2},
    {6, F::U8, 1, C::None, "PhaseDetectAF", kPhaseDetect},
    {7, F::U8, 1, C::None, "PrimaryAFPoint"},
    {8, F::Bytes, 7, C::None, "AFPointsUsed"},
    {16, F::U16, 1, C::None, "AFImageWidth"},
    {18, F::U16, 1, C::None, "AFImageHeight"},
    {20, F::U16, 1, C::None, "AFAreaXPosition"},
    {22, F::U16, 1, C::None, "AFAreaYPosition"},
    {24, F::U16, 1, C::None, "AFAreaWidth"},
    {26, F::U16, 1, C::None, "AFAreaHeight"},
    {28, F::U8, 1, C::None, "ContrastDetectAFInFocus", kYesNo},
};

constexpr NikonField kIsoInfo[] = {
    {0, F::U8, 1, C::Iso, "ISO"},
    {4, F::U16, 1, C::None, "ISOExpansion"},
    {6, F::U8, 1, C::Iso, "ISO2"},
    {10, F::U16, 1, C::None, "ISOExpansion2"},
};

constexpr NikonField kVrInfo[] = {
    {0, F::Text, 4, C::None, "VRInfoVersion"},
    {4, F::U8, 1, C::None, "VibrationReduction", kVibration},
    {6, F::U8, 1, C::None, "VRMode", kVrMode},
};

constexpr NikonField kPictureControl1[] = {
    {0, F::Text, 4, C::None, "PictureControlVersion"},
    {4, F::Text, 20, C::None, "PictureControlName"},
    {24, F::Text, 20, C::None, "PictureControlBase"},
    {48, F::U8, 1, C::None, "PictureControlAdjust", kPcAdjust},
    {49, F::U8, 1, C::Minus128, "PictureControlQuickAdjust"},
    {50, F::U8, 1, C::Minus128, "Sharpness"},
    {51, F::U8, 1, C::Minus128, "Contrast"},
    {52, F::U8, 1, C::Minus128, "Brightness"},
    {53, F::U8, 1, C::Minus128, "Saturation"},
    {54, F::U8, 1, C::Minus128, "HueAdjustment"},
    {55, F::U8, 1, C::None, "FilterEffect", kFilter},
    {56, F::U8, 1, C::None, "ToningEffect", kToning},
    {57, F::U8, 1, C::Minus128, "ToningSaturation"},
};

constexpr NikonField kPictureControl2[] = {
    {0, F::Text, 4, C::None, "PictureControlVersion"},
    {4, F::Text, 20, C::None, "PictureControlName"},
    {24, F::Text, 20, C::None, "PictureControlBase"},
    {48, F::U8, 1, C::None, "PictureControlAdjust", kPcAdjust},
    {49, F::U8, 1, C::Minus128, "PictureControlQuickAdjust"},
    {51, F::U8, 1, C::Minus128, "Sharpness"},
    {53, F::U8, 1, C::Minus128, "Clarity"},
    {55, F::U8, 1, C::Minus128, "Contrast"},
    {57, F::U8, 1, C::Minus128, "Brightness"},
    {59, F::U8, 1, C::Minus128, "Saturation"},
    {61, F::U8, 1, C::Minus128, "Hue"},
    {63, F::U8, 1, C::None, "FilterEffect", kFilter},
    {64, F::U8, 1, C::None, "ToningEffect", kToning},
    {65, F::U8, 1, C::Minus128, "ToningSaturation"},
};

constexpr NikonField kWorldTime[] = {
    {0, F::S16, 1, C::None, "TimeZone"},
    {2, F::U8, 1, C::None, "DaylightSavings", kYesNo},
    {3, F::U8, 1, C::None, "DateDisplayFormat", kDateFormat},
};

constexpr NikonField kFaceDetect[] = {
    {1, F::U16, 2, C::None, "FaceDetectFrameSize"},
    {3, F::U16, 1, C::None, "FacesDetected"},
};

constexpr NikonField kFileInfo[] = {
    {0, F::Text, 4, C::None, "FileInfoVersion"},
    {2, F::U16, 1, C::None, "MemoryCardNumber"},
    {3, F::U16, 1, C::None, "DirectoryNumber"},
    {4, F::U16, 1, C::None, "FileNumber"},
};

constexpr NikonField kAfTune[] = {
    {0, F::U8, 1, C::None, "AFFineTune", kFineTune},
    {1, F::U8, 1, C::None, "AFFineTuneIndex"},
    {2, F::S8, 1, C::None, "AFFineTuneAdj"},
    {3, F::S8, 1, C::None, "AFFineTuneAdjTele"},
};

constexpr NikonField kMultiExposure[] = {
    {0, F::Text, 4, C::None, "MultiExposureVersion"},
    {1, F::U32, 1, C::None, "MultiExposureMode", kMultiMode},
    {2, F::U32, 1, C::None, "MultiExposureShots"},
    {3, F::U32, 1, C::None, "MultiExposureAutoGain", kOnOff},
};

// FlashInfo by version: the same head, then each version's layout.
// Compensations are read as such (TTL modes); a manual group's output
// level lies in the same byte.
constexpr NikonField kFlashInfo0100[] = {
    {0, F::Text, 4, C::None, "FlashInfoVersion"},
    {4, F::U8, 1, C::None, "FlashSource", kFlashSource},
    {6, F::U8, 2, C::None, "ExternalFlashFirmware"},
    {8, F::U8, 1, C::None, "ExternalFlashFlags"},
    {9, F::U8, 1, C::None, "FlashCommanderMode", {}, 0x80},
    {9, F::U8, 1, C::None, "FlashControlMode", {}, 0x7F},
    {10, F::S8, 1, C::MinusSixths, "FlashCompensation"},
    {11, F::U8, 1, C::None, "FlashFocalLength"},
    {12, F::U8, 1, C::None, "RepeatingFlashRate"},
    {13, F::U8, 1, C::None, "RepeatingFlashCount"},
    {14, F::U8, 1, C::None, "FlashGNDistance"},
    {15, F::U8, 1, C::None, "FlashGroupAControlMode", {}, 0x0F},
    {16, F::U8, 1, C::None, "FlashGroupBControlMode", {}, 0x0F},
    {17, F::S8, 1, C::MinusSixths, "FlashGroupACompensation"},
    {18, F::S8, 1, C::MinusSixths, "FlashGroupBCompensation"},
};
constexpr NikonField kFlashInfo0102[] = {
    {0, F::Text, 4, C::None, "FlashInfoVersion"},
    {4, F::U8, 1, C::None, "FlashSource", kFlashSource},
    {6, F::U8, 2, C::None, "ExternalFlashFirmware"},
    {8, F::U8, 1, C::None, "ExternalFlashFlags"},
    {9, F::U8, 1, C::None, "FlashCommanderMode", {}, 0x80},
    {9, F::U8, 1, C::None, "FlashControlMode", {}, 0x7F},
    {10, F::S8, 1, C::MinusSixths, "FlashCompensation"},
    {12, F::U8, 1, C::None, "FlashFocalLength"},
    {13, F::U8, 1, C::None, "RepeatingFlashRate"},
    {14, F::U8, 1, C::None, "RepeatingFlashCount"},
    {15, F::U8, 1, C::None, "FlashGNDistance"},
    {16, F::U8, 1, C::None, "FlashGroupAControlMode", {}, 0x0F},
    {17, F::U8, 1, C::None, "FlashGroupBControlMode", {}, 0xF0},
    {17, F::U8, 1, C::None, "FlashGroupCControlMode", {}, 0x0F},
    {18, F::S8, 1, C::MinusSixths, "FlashGroupACompensation"},
    {19, F::S8, 1, C::MinusSixths, "FlashGroupBCompensation"},
    {20, F::S8, 1, C::MinusSixths, "FlashGroupCCompensation"},
};
constexpr NikonField kFlashInfo0103[] = {
    {0, F::Text, 4, C::None, "FlashInfoVersion"},
    {4, F::U8, 1, C::None, "FlashSource", kFlashSource},
    {6, F::U8, 2, C::None, "ExternalFlashFirmware"},
    {8, F::U8, 1, C::None, "ExternalFlashFlags"},
    {9, F::U8, 1, C::None, "FlashCommanderMode", {}, 0x80},
    {9, F::U8, 1, C::None, "FlashControlMode", {}, 0x7F},
    {10, F::S8, 1, C::MinusSixths, "FlashCompensation"},
    {12, F::U8, 1, C::None, "FlashFocalLength"},
    {13, F::U8, 1, C::None, "RepeatingFlashRate"},
    {14, F::U8, 1, C::None, "RepeatingFlashCount"},
    {15, F::U8, 1, C::None, "FlashGNDistance"},
    {16, F::U8, 1, C::None, "FlashColorFilter"},
    {17, F::U8, 1, C::None, "FlashGroupAControlMode", {}, 0x0F},
    {18, F::U8, 1, C::None, "FlashGroupBControlMode", {}, 0xF0},
    {18, F::U8, 1, C::None, "FlashGroupCControlMode", {}, 0x0F},
    {19, F::S8, 1, C::MinusSixths, "FlashGroupACompensation"},
    {20, F::S8, 1, C::MinusSixths, "FlashGroupBCompensation"},
    {21, F::S8, 1, C::MinusSixths, "FlashGroupCCompensation"},
    {27, F::S8, 1, C::MinusSixths, "ExternalFlashCompensation"},
    {29, F::S8, 1, C::MinusSixths, "FlashExposureComp3"},
    {39, F::S8, 1, C::MinusSixths, "FlashExposureComp4"},
};
constexpr NikonField kFlashInfo0106[] = {
    {0, F::Text, 4, C::None, "FlashInfoVersion"},
    {4, F::U8, 1, C::None, "FlashSource", kFlashSource},
    {6, F::U8, 2, C::None, "ExternalFlashFirmware"},
    {8, F::U8, 1, C::None, "ExternalFlashFlags"},
    {9, F::U8, 1, C::None, "FlashCommanderMode", {}, 0x80},
    {9, F::U8, 1, C::None, "FlashControlMode", {}, 0x7F},
    {12, F::U8, 1, C::None, "FlashFocalLength"},
    {13, F::U8, 1, C::None, "RepeatingFlashRate"},
    {14, F::U8, 1, C::None, "RepeatingFlashCount"},
    {15, F::U8, 1, C::None, "FlashGNDistance"},
    {16, F::U8, 1, C::None, "FlashColorFilter"},
    {17, F::U8, 1, C::None, "FlashGroupAControlMode", {}, 0x0F},
    {18, F::U8, 1, C::None, "FlashGroupBControlMode", {}, 0xF0},
    {18, F::U8, 1, C::None, "FlashGroupCControlMode", {}, 0x0F},
    {39, F::S8, 1, C::MinusSixths, "FlashCompensation"},
    {40, F::S8, 1, C::MinusSixths, "FlashGroupACompensation"},
    {41, F::S8, 1, C::MinusSixths, "FlashGroupBCompensation"},
    {42, F::S8, 1, C::MinusSixths, "FlashGroupCCompensation"},
};
constexpr NikonField kFlashInfo0107[] = {
    {0, F::Text, 4, C::None, "FlashInfoVersion"},
    {4, F::U8, 1, C::None, "FlashSource", kFlashSource},
    {6, F::U8, 2, C::None, "ExternalFlashFirmware"},
    {8, F::U8, 1, C::None, "ExternalFlashZoomOverride", {}, 0x80},
    {8, F::U8, 1, C::None, "ExternalFlashStatus", {}, 0x01},
    {9, F::U8, 1, C::None, "ExternalFlashReadyState", {}, 0x07},
    {10, F::S8, 1, C::MinusSixths, "FlashCompensation"},
    {12, F::U8, 1, C::None, "FlashFocalLength"},
    {13, F::U8, 1, C::None, "RepeatingFlashRate"},
    {14, F::U8, 1, C::None, "RepeatingFlashCount"},
    {15, F::U8, 1, C::None, "FlashGNDistance"},
    {17, F::U8, 1, C::None, "FlashGroupAControlMode", {}, 0x0F},
    {18, F::U8, 1, C::None, "FlashGroupBControlMode", {}, 0xF0},
    {18, F::U8, 1, C::None, "FlashGroupCControlMode", {}, 0x0F},
    {40, F::S8, 1, C::MinusSixths, "FlashGroupACompensation"},
    {41, F::S8, 1, C::MinusSixths, "FlashGroupBCompensation"},
    {42, F::S8, 1, C::MinusSixths, "FlashGroupCCompensation"},
};
constexpr NikonField kFlashInfo0300[] = {
    {0, F::Text, 4, C::None, "FlashInfoVersion"},
    {4, F::U8, 1, C::None, "FlashSource", kFlashSource},
    {6, F::U8, 2, C::None, "ExternalFlashFirmware"},
    {8, F::U8, 1, C::None, "ExternalFlashFlags"},
    {9, F::U8, 1, C::None, "FlashCommanderMode", {}, 0x80},
    {9, F::U8, 1, C::None, "FlashControlMode", {}, 0x7F},
    {10, F::S8, 1, C::MinusSixths, "FlashCompensation"},
    {13, F::U8, 1, C::None, "RepeatingFlashRate"},
};

constexpr NikonRecord kRecords[] = {
    {0x0098, "0100", 1, NikonOrder::Note, 0, kLens0100},
    {0x0098, "0101", 1, NikonOrder::Note, 0, kLens0101},
    {0x0098, "0201", 1, NikonOrder::Note, 4, kLens0101},
    {0x0098, "0202", 1, NikonOrder::Note, 4, kLens0101},
    {0x0098, "0203", 1, NikonOrder::Note, 4, kLens0101},
    {0x0098, "0204", 1, NikonOrder::Note, 4, kLens0204},
    {0x0098, "0400", 1, NikonOrder::Note, 4, kLens0400},
    {0x0098, "0401", 1, NikonOrder::Note, 4, kLens0400},
    {0x0098, "0402", 1, NikonOrder::Note, 4, kLens0402},
    {0x0098, "0403", 1, NikonOrder::Note, 4, kLens0403},
    {0x0098, "080", 1, NikonOrder::Note, 4, kLens0800},
    {0x0091, "0100", 1, NikonOrder::Big, 0, kShotInfoVersionOnly},
    {0x0091, "0101", 1, NikonOrder::Big, 0, kShotInfoVersionOnly},
    {0x0091, "01", 1, NikonOrder::Big, 0, kShotInfo},
    {0x0091, "0208", 1, NikonOrder::Big, 4, kShotInfoVersionOnly}, // D80: no firmware there
    {0x0091, "0209", 1, NikonOrder::Big, 4, kShotInfoVersionOnly}, // D40
    {0x0091, "0210", 1, NikonOrder::Big, 4, kShotInfoD3, 5408},
    {0x0091, "0210", 1, NikonOrder::Big, 4, kShotInfoD3, 5412},
    {0x0091, "0212", 1, NikonOrder::Big, 4, kShotInfoD700, 5312},
    {0x0091, "0210", 1, NikonOrder::Big, 4, kShotInfo},
    {0x0091, "02", 1, NikonOrder::Big, 4, kShotInfo},
    {0x0091, "08", 1, NikonOrder::Big, 4, kShotInfo},
    {0x0088, "", 1, NikonOrder::Body, 0, kAfInfo},
    {0x00B7, "0100", 1, NikonOrder::Note, 0, kAfInfo2},
    {0x0025, "", 1, NikonOrder::Note, 0, kIsoInfo},
    {0x001F, "01", 1, NikonOrder::Note, 0, kVrInfo},
    {0x0023, "01", 1, NikonOrder::Note, 0, kPictureControl1},
    {0x0023, "02", 1, NikonOrder::Note, 0, kPictureControl2},
    {0x00BD, "01", 1, NikonOrder::Note, 0, kPictureControl1},
    {0x00BD, "02", 1, NikonOrder::Note, 0, kPictureControl2},
    {0x0024, "", 1, NikonOrder::Note, 0, kWorldTime},
    {0x0021, "", 2, NikonOrder::Note, 0, kFaceDetect},
    {0x00B8, "01", 2, NikonOrder::Note, 0, kFileInfo},
    {0x00B9, "", 1, NikonOrder::Note, 0, kAfTune},
    {0x00B0, "01", 4, NikonOrder::Note, 0, kMultiExposure},
    {0x00A8, "0100", 1, NikonOrder::Note, 0, kFlashInfo0100},
    {0x00A8, "0101", 1, NikonOrder::Note, 0, kFlashInfo0100},
    {0x00A8, "0102", 1, NikonOrder::Note, 0, kFlashInfo0102},
    {0x00A8, "0103", 1, NikonOrder::Note, 0, kFlashInfo0103},
    {0x00A8, "0104", 1, NikonOrder::Note, 0, kFlashInfo0103},
    {0x00A8, "0105", 1, NikonOrder::Note, 0, kFlashInfo0103},
    {0x00A8, "0106", 1, NikonOrder::Note, 0, kFlashInfo0106},
    {0x00A8, "0107", 1, NikonOrder::Note, 0, kFlashInfo0107},
    {0x00A8, "0108", 1, NikonOrder::Note, 0, kFlashInfo0107},
    {0x00A8, "0300", 1, NikonOrder::Note, 0, kFlashInfo0300},
};

struct ShutterCountAt {
    std::string_view version;
    uint32_t count; // the record's length; 0: any
    uint16_t offset;
};

// Where ShotInfo keeps the shutter count, by version and (where one version
// serves several bodies) length.
constexpr ShutterCountAt kShutterCounts[] = {
    {"0209", 0, 582},                                                     // D40
    {"0208", 0, 586},                                                     // D80
    {"0213", 0, 0x2d5},                                                   // D90
    {"0210", 5399, 0x276},                                                // D3
    {"0210", 5408, 0x27f},  {"0210", 5412, 0x27f}, {"0214", 5409, 0x280}, // D3X
    {"0218", 5356, 0x242},  {"0218", 5388, 0x242},                        // D3S
    {"0210", 5291, 633},                                                  // D300
    {"0210", 5303, 644},    {"0216", 5311, 646},                          // D300S
    {"0212", 5312, 0x287},                                                // D700
    {"0215", 6745, 0x2d6},                                                // D5000
    {"0221", 8902, 0x321},                                                // D5100
    {"0226", 11587, 0xbd8},                                               // D5200
    {"0220", 0, 0x320},                                                   // D7000
    {"0222", 0, 0x5fb},                                                   // D800
};

} // namespace

const NikonRecord* FindNikonRecord(uint16_t tag, const unsigned char* data, size_t size) {
    for (const NikonRecord& r : kRecords) {
        if (r.tag != tag || (r.length != 0 && r.length != size))
            continue;
        if (!r.version.empty() &&
            (size < r.version.size() || std::memcmp(data, r.version.data(), r.version.size()) != 0))
            continue;
        return &r;
    }
    return nullptr;
}

bool NikonShotInfoShutterCount(const unsigned char* version, uint32_t count, size_t& offset) {
    for (const ShutterCountAt& s : kShutterCounts) {
        if (std::memcmp(version, s.version.data(), 4) == 0 && (s.count == 0 || s.count == count)) {
            offset = s.offset;
            return true;
        }
    }
    return false;
}
