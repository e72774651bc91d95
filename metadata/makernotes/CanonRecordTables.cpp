// Names and places of the fields of Canon's binary records, by their
// index as the records count (in units of the record's element size).
// Facts gathered from the published Canon tag documentation.

#include "metadata/makernotes/CanonRecordTables.h"

namespace {

constexpr CanonField kCameraSettings[] = {
    {1, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "MacroMode"},
    {2, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "SelfTimer"},
    {3, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "Quality"},
    {4, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "CanonFlashMode"},
    {5, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "ContinuousDrive"},
    {7, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "FocusMode"},
    {9, kTiffSShort, 1, CanonConv::None, CanonSkip::Minus1, "RecordMode"},
    {10, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "CanonImageSize"},
    {11, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "EasyMode"},
    {12, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "DigitalZoom"},
    {13, kTiffSShort, 1, CanonConv::None, CanonSkip::Max16, "Contrast"},
    {14, kTiffSShort, 1, CanonConv::None, CanonSkip::Max16, "Saturation"},
    {15, kTiffSShort, 1, CanonConv::None, CanonSkip::Max16, "Sharpness"},
    {16, kTiffSShort, 1, CanonConv::CameraIso, CanonSkip::Max16, "CameraISO"},
    {17, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "MeteringMode"},
    {18, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "FocusRange"},
    {19, kTiffSShort, 1, CanonConv::None, CanonSkip::Zero, "AFPoint"},
    {20, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "CanonExposureMode"},
    {22, kTiffShort, 1, CanonConv::None, CanonSkip::Zero, "LensType"},
    {23, kTiffShort, 1, CanonConv::FocalUnits, CanonSkip::None, "MaxFocalLength"},
    {24, kTiffShort, 1, CanonConv::FocalUnits, CanonSkip::None, "MinFocalLength"},
    {25, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "FocalUnits"},
    {26, kTiffSShort, 1, CanonConv::EvAperture, CanonSkip::NotPositive, "MaxAperture"},
    {27, kTiffSShort, 1, CanonConv::EvAperture, CanonSkip::NotPositive, "MinAperture"},
    {28, kTiffSShort, 1, CanonConv::None, CanonSkip::Minus1, "FlashActivity"},
    {29, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "FlashBits"},
    {32, kTiffSShort, 1, CanonConv::None, CanonSkip::Minus1, "FocusContinuous"},
    {33, kTiffSShort, 1, CanonConv::None, CanonSkip::Minus1, "AESetting"},
    {34, kTiffSShort, 1, CanonConv::None, CanonSkip::Minus1, "ImageStabilization"},
    {35, kTiffSShort, 1, CanonConv::Div10, CanonSkip::Zero, "DisplayAperture"},
    {36, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "ZoomSourceWidth"},
    {37, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "ZoomTargetWidth"},
    {39, kTiffSShort, 1, CanonConv::None, CanonSkip::Minus1, "SpotMeteringMode"},
    {40, kTiffSShort, 1, CanonConv::None, CanonSkip::Minus1, "PhotoEffect"},
    {41, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "ManualFlashOutput"},
    {42, kTiffSShort, 1, CanonConv::None, CanonSkip::Max16, "ColorTone"},
    {46, kTiffSShort, 1, CanonConv::None, CanonSkip::Minus1, "SRAWQuality"},
};
constexpr CanonField kFocalLength[] = {
    {0, kTiffShort, 1, CanonConv::None, CanonSkip::Zero, "FocalType"},
    {1, kTiffShort, 1, CanonConv::FocalUnits, CanonSkip::None, "FocalLength"},
    {2, kTiffShort, 1, CanonConv::None, CanonSkip::None, "FocalPlaneXUnknown"},
    {3, kTiffShort, 1, CanonConv::None, CanonSkip::None, "FocalPlaneYUnknown"},
};
constexpr CanonField kShotInfo[] = {
    {1, kTiffSShort, 1, CanonConv::AutoIso, CanonSkip::None, "AutoISO"},
    {2, kTiffSShort, 1, CanonConv::BaseIso, CanonSkip::Zero, "BaseISO"},
    {3, kTiffSShort, 1, CanonConv::MeasuredEv, CanonSkip::None, "MeasuredEV"},
    {4, kTiffSShort, 1, CanonConv::EvAperture, CanonSkip::NotPositive, "TargetAperture"},
    {5, kTiffSShort, 1, CanonConv::EvTime, CanonSkip::None, "TargetExposureTime"},
    {6, kTiffSShort, 1, CanonConv::Ev, CanonSkip::None, "ExposureCompensation"},
    {7, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "WhiteBalance"},
    {8, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "SlowShutter"},
    {9, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "SequenceNumber"},
    {10, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "OpticalZoomCode"},
    {12, kTiffSShort, 1, CanonConv::Minus128, CanonSkip::Zero, "CameraTemperature"},
    {13, kTiffSShort, 1, CanonConv::Div32, CanonSkip::Minus1, "FlashGuideNumber"},
    {14, kTiffSShort, 1, CanonConv::None, CanonSkip::Zero, "AFPointsInFocus"},
    {15, kTiffSShort, 1, CanonConv::Ev, CanonSkip::None, "FlashExposureComp"},
    {16, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "AutoExposureBracketing"},
    {17, kTiffSShort, 1, CanonConv::Ev, CanonSkip::None, "AEBBracketValue"},
    {18, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "ControlMode"},
    {19, kTiffShort, 1, CanonConv::Div100, CanonSkip::Zero, "FocusDistanceUpper"},
    {20, kTiffShort, 1, CanonConv::Div100, CanonSkip::None, "FocusDistanceLower"},
    {21, kTiffSShort, 1, CanonConv::EvAperture, CanonSkip::Zero, "FNumber"},
    {22, kTiffSShort, 1, CanonConv::EvTime, CanonSkip::Zero, "ExposureTime"},
    {23, kTiffSShort, 1, CanonConv::MeasuredEv2, CanonSkip::Zero, "MeasuredEV2"},
    {24, kTiffSShort, 1, CanonConv::Div10, CanonSkip::None, "BulbDuration"},
    {26, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "CameraType"},
    {27, kTiffSShort, 1, CanonConv::None, CanonSkip::Negative, "AutoRotate"},
    {28, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "NDFilter"},
    {29, kTiffSShort, 1, CanonConv::Div10, CanonSkip::Negative, "SelfTimer2"},
    {33, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "FlashOutput"},
};
constexpr CanonField kTimeInfo[] = {
    {1, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "TimeZone"},
    {2, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "TimeZoneCity"},
    {3, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "DaylightSavings"},
};
constexpr CanonField kFileInfo[] = {
    {1, kTiffLong, 1, CanonConv::None, CanonSkip::None, "ShutterCount"},
    {3, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "BracketMode"},
    {4, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "BracketValue"},
    {5, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "BracketShotNumber"},
    {6, kTiffSShort, 1, CanonConv::None, CanonSkip::NotPositive, "RawJpgQuality"},
    {7, kTiffSShort, 1, CanonConv::None, CanonSkip::Negative, "RawJpgSize"},
    {8, kTiffSShort, 1, CanonConv::None, CanonSkip::Negative, "LongExposureNoiseReduction2"},
    {9, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "WBBracketMode"},
    {12, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "WBBracketValueAB"},
    {13, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "WBBracketValueGM"},
    {14, kTiffSShort, 1, CanonConv::None, CanonSkip::Minus1, "FilterEffect"},
    {15, kTiffSShort, 1, CanonConv::None, CanonSkip::Minus1, "ToningEffect"},
    {16, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "MacroMagnification"},
    {19, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "LiveViewShooting"},
    {20, kTiffShort, 1, CanonConv::Div100, CanonSkip::Zero, "FocusDistanceUpper"},
    {21, kTiffShort, 1, CanonConv::Div100, CanonSkip::None, "FocusDistanceLower"},
    {23, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "ShutterMode"},
    {25, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "FlashExposureLock"},
    {61, kTiffShort, 1, CanonConv::None, CanonSkip::None, "RFLensType"},
};
constexpr CanonField kCropInfo[] = {
    {0, kTiffShort, 1, CanonConv::None, CanonSkip::None, "CropLeftMargin"},
    {1, kTiffShort, 1, CanonConv::None, CanonSkip::None, "CropRightMargin"},
    {2, kTiffShort, 1, CanonConv::None, CanonSkip::None, "CropTopMargin"},
    {3, kTiffShort, 1, CanonConv::None, CanonSkip::None, "CropBottomMargin"},
};
constexpr CanonField kAspectInfo[] = {
    {0, kTiffLong, 1, CanonConv::None, CanonSkip::None, "AspectRatio"},
    {1, kTiffLong, 1, CanonConv::None, CanonSkip::None, "CroppedImageWidth"},
    {2, kTiffLong, 1, CanonConv::None, CanonSkip::None, "CroppedImageHeight"},
    {3, kTiffLong, 1, CanonConv::None, CanonSkip::None, "CroppedImageLeft"},
    {4, kTiffLong, 1, CanonConv::None, CanonSkip::None, "CroppedImageTop"},
};
constexpr CanonField kProcessing[] = {
    {1, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "ToneCurve"},
    {2, kTiffSShort, 1, CanonConv::None, CanonSkip::Max16, "Sharpness"},
    {3, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "SharpnessFrequency"},
    {4, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "SensorRedLevel"},
    {5, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "SensorBlueLevel"},
    {6, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "WhiteBalanceRed"},
    {7, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "WhiteBalanceBlue"},
    {8, kTiffSShort, 1, CanonConv::None, CanonSkip::Negative, "WhiteBalance"},
    {9, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "ColorTemperature"},
    {10, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "PictureStyle"},
    {11, kTiffSShort, 1, CanonConv::Div10, CanonSkip::None, "DigitalGain"},
    {12, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "WBShiftAB"},
    {13, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "WBShiftGM"},
};
constexpr CanonField kMeasuredColor[] = {
    {1, kTiffShort, 4, CanonConv::None, CanonSkip::None, "MeasuredRGGB"},
};
constexpr CanonField kSensorInfo[] = {
    {1, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "SensorWidth"},
    {2, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "SensorHeight"},
    {5, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "SensorLeftBorder"},
    {6, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "SensorTopBorder"},
    {7, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "SensorRightBorder"},
    {8, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "SensorBottomBorder"},
    {9, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "BlackMaskLeftBorder"},
    {10, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "BlackMaskTopBorder"},
    {11, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "BlackMaskRightBorder"},
    {12, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "BlackMaskBottomBorder"},
};
constexpr CanonField kAFMicroAdj[] = {
    {1, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "AFMicroAdjMode"},
    {2, kTiffSRational, 1, CanonConv::None, CanonSkip::None, "AFMicroAdjValue"},
};
constexpr CanonField kVignettingCorr[] = {
    {0, kTiffByte, 1, CanonConv::None, CanonSkip::None, "VignettingCorrVersion"},
    {2, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "PeripheralLighting"},
    {3, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "DistortionCorrection"},
    {4, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "ChromaticAberrationCorr"},
    {5, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "ChromaticAberrationCorr"},
    {6, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "PeripheralLightingValue"},
    {9, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "DistortionCorrectionValue"},
    {11, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "OriginalImageWidth"},
    {12, kTiffSShort, 1, CanonConv::None, CanonSkip::None, "OriginalImageHeight"},
};
constexpr CanonField kVignettingCorr2[] = {
    {5, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "PeripheralLightingSetting"},
    {6, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "ChromaticAberrationSetting"},
    {7, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "DistortionCorrectionSetting"},
    {9, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "DigitalLensOptimizerSetting"},
};
constexpr CanonField kLightingOpt[] = {
    {1, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "PeripheralIlluminationCorr"},
    {2, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "AutoLightingOptimizer"},
    {3, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "HighlightTonePriority"},
    {4, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "LongExposureNoiseReduction"},
    {5, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "HighISONoiseReduction"},
    {10, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "DigitalLensOptimizer"},
};
constexpr CanonField kLensInfo[] = {
    {0, kTiffUndefined, 5, CanonConv::Hex, CanonSkip::None, "LensSerialNumber"},
};
constexpr CanonField kAmbience[] = {
    {1, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "AmbienceSelection"},
};
constexpr CanonField kMultiExp[] = {
    {1, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "MultiExposure"},
    {2, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "MultiExposureControl"},
    {3, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "MultiExposureShots"},
};
constexpr CanonField kHDRInfo[] = {
    {1, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "HDR"},
    {2, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "HDREffect"},
};
constexpr CanonField kAFConfig[] = {
    {1, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "AFConfigTool"},
    {2, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "AFTrackingSensitivity"},
    {3, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "AFAccelDecelTracking"},
    {4, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "AFPointSwitching"},
    {5, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "AIServoFirstImage"},
    {6, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "AIServoSecondImage"},
    {7, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "USMLensElectronicMF"},
    {8, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "AFAssistBeam"},
    {9, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "OneShotAFRelease"},
    {10, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "AutoAFPointSelEOSiTRAF"},
    {11, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "LensDriveWhenAFImpossible"},
    {12, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "SelectAFAreaSelectionMode"},
    {13, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "AFAreaSelectionMethod"},
    {14, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "OrientationLinkedAF"},
    {15, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "ManualAFPointSelPattern"},
    {16, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "AFPointDisplayDuringFocus"},
    {17, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "VFDisplayIllumination"},
    {18, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "AFStatusViewfinder"},
    {19, kTiffSLong, 1, CanonConv::None, CanonSkip::None, "InitialAFPointInServo"},
};

} // namespace

const CanonRecord kCanonRecords[] = {
    {0x0001, 2, "CameraSettings", kCameraSettings, std::size(kCameraSettings)},
    {0x0002, 2, "FocalLength", kFocalLength, std::size(kFocalLength)},
    {0x0004, 2, "ShotInfo", kShotInfo, std::size(kShotInfo)},
    {0x0035, 4, "TimeInfo", kTimeInfo, std::size(kTimeInfo)},
    {0x0093, 2, "FileInfo", kFileInfo, std::size(kFileInfo)},
    {0x0098, 2, "CropInfo", kCropInfo, std::size(kCropInfo)},
    {0x009A, 4, "AspectInfo", kAspectInfo, std::size(kAspectInfo)},
    {0x00A0, 2, "Processing", kProcessing, std::size(kProcessing)},
    {0x00AA, 2, "MeasuredColor", kMeasuredColor, std::size(kMeasuredColor)},
    {0x00E0, 2, "SensorInfo", kSensorInfo, std::size(kSensorInfo)},
    {0x4013, 4, "AFMicroAdj", kAFMicroAdj, std::size(kAFMicroAdj)},
    {0x4015, 2, "VignettingCorr", kVignettingCorr, std::size(kVignettingCorr)},
    {0x4016, 4, "VignettingCorr2", kVignettingCorr2, std::size(kVignettingCorr2)},
    {0x4018, 4, "LightingOpt", kLightingOpt, std::size(kLightingOpt)},
    {0x4019, 1, "LensInfo", kLensInfo, std::size(kLensInfo)},
    {0x4020, 4, "Ambience", kAmbience, std::size(kAmbience)},
    {0x4021, 4, "MultiExp", kMultiExp, std::size(kMultiExp)},
    {0x4025, 4, "HDRInfo", kHDRInfo, std::size(kHDRInfo)},
    {0x4028, 4, "AFConfig", kAFConfig, std::size(kAFConfig)},
};
const size_t kCanonRecordCount = std::size(kCanonRecords);
