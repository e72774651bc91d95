#include "metadata/makernotes/NikonCustomSettings.h"

#include "metadata/tags/TagText.h"

#include <cstring>
#include <span>
#include <string>

namespace {

// A setting: some bits of one byte.
struct NikonCustomField {
    uint8_t index;
    uint8_t mask;
    bool signedSixths; // a fine tune: four-bit signed steps of 1/6 EV
    const char* name;
};

// D3 and D3X.
constexpr NikonCustomField kCustomD3[] = {
    {0, 0x03, false, "CustomSettingsBank"},
    {0, 0x80, false, "CustomSettingsAllDefault"},
    {1, 0xC0, false, "AF-CPrioritySelection"},
    {1, 0x20, false, "AF-SPrioritySelection"},
    {1, 0x10, false, "AFPointSelection"},
    {1, 0x0C, false, "DynamicAFArea"},
    {1, 0x03, false, "FocusTrackingLockOn"},
    {2, 0x80, false, "AFActivation"},
    {2, 0x08, false, "FocusPointWrap"},
    {2, 0x60, false, "AFPointIllumination"},
    {2, 0x06, false, "AFPointBrightness"},
    {3, 0x07, false, "AFOnButton"},
    {3, 0x70, false, "VerticalAFOnButton"},
    {6, 0xC0, false, "ISOStepSize"},
    {6, 0x30, false, "ExposureControlStepSize"},
    {6, 0x0C, false, "ExposureCompStepSize"},
    {6, 0x03, false, "EasyExposureCompensation"},
    {7, 0xE0, false, "CenterWeightedAreaSize"},
    {7, 0x0F, true, "FineTuneOptCenterWeighted"},
    {8, 0xF0, true, "FineTuneOptMatrixMetering"},
    {8, 0x0F, true, "FineTuneOptSpotMetering"},
    {9, 0xC0, false, "MultiSelectorShootMode"},
    {9, 0x30, false, "MultiSelectorPlaybackMode"},
    {9, 0x0C, false, "InitialZoomSetting"},
    {9, 0x01, false, "MultiSelector"},
    {10, 0x40, false, "ExposureDelayMode"},
    {10, 0x07, false, "CLModeShootingSpeed"},
    {10, 0x30, false, "CHModeShootingSpeed"},
    {11, 0xFF, false, "MaxContinuousRelease"},
    {12, 0x20, false, "ReverseIndicators"},
    {12, 0x02, false, "FileNumberSequence"},
    {12, 0x80, false, "RearDisplay"},
    {12, 0x40, false, "ViewfinderDisplay"},
    {13, 0xC0, false, "Beep"},
    {13, 0x30, false, "ShootingInfoDisplay"},
    {14, 0xF8, false, "PreviewButton"},
    {14, 0x07, false, "PreviewButtonPlusDials"},
    {15, 0xF8, false, "FuncButton"},
    {15, 0x07, false, "FuncButtonPlusDials"},
    {16, 0xF8, false, "AELockButton"},
    {16, 0x07, false, "AELockButtonPlusDials"},
    {17, 0x80, false, "CommandDialsReverseRotation"},
    {17, 0x40, false, "CommandDialsChangeMainSub"},
    {17, 0x20, false, "CommandDialsApertureSetting"},
    {17, 0x10, false, "CommandDialsMenuAndPlayback"},
    {17, 0x08, false, "LCDIllumination"},
    {17, 0x04, false, "PhotoInfoPlayback"},
    {17, 0x02, false, "ShutterReleaseButtonAE-L"},
    {17, 0x01, false, "ReleaseButtonToUseDial"},
    {18, 0x18, false, "SelfTimerTime"},
    {18, 0x07, false, "MonitorOffTime"},
    {20, 0xE0, false, "FlashSyncSpeed"},
    {20, 0x0F, false, "FlashShutterSpeed"},
    {21, 0xC0, false, "AutoBracketSet"},
    {21, 0x30, false, "AutoBracketModeM"},
    {21, 0x08, false, "AutoBracketOrder"},
    {21, 0x01, false, "ModelingFlash"},
    {22, 0x80, false, "NoMemoryCard"},
    {22, 0x0F, false, "MeteringTime"},
    {23, 0xC0, false, "InternalFlash"},
    {25, 0xE0, false, "ImageReviewTime"},
    {25, 0x1C, false, "PlaybackMonitorOffTime"},
    {26, 0xE0, false, "MenuMonitorOffTime"},
    {26, 0x1C, false, "ShootingInfoMonitorOffTime"},
};
// D700.
constexpr NikonCustomField kCustomD700[] = {
    {0, 0x03, false, "CustomSettingsBank"},
    {0, 0x80, false, "CustomSettingsAllDefault"},
    {1, 0xC0, false, "AF-CPrioritySelection"},
    {1, 0x20, false, "AF-SPrioritySelection"},
    {1, 0x10, false, "AFPointSelection"},
    {1, 0x0C, false, "DynamicAFArea"},
    {2, 0x80, false, "AFActivation"},
    {2, 0x08, false, "FocusPointWrap"},
    {2, 0x06, false, "AFPointIllumination"},
    {2, 0x01, false, "AFAssist"},
    {3, 0x07, false, "FocusTrackingLockOn"},
    {3, 0x70, false, "AF-OnForMB-D10"},
    {4, 0xC0, false, "ISOStepSize"},
    {4, 0x30, false, "ExposureControlStepSize"},
    {4, 0x0C, false, "ExposureCompStepSize"},
    {4, 0x03, false, "EasyExposureCompensation"},
    {5, 0x70, false, "CenterWeightedAreaSize"},
    {6, 0xF0, true, "FineTuneOptMatrixMetering"},
    {6, 0x0F, true, "FineTuneOptSpotMetering"},
    {7, 0x80, false, "ShutterReleaseButtonAE-L"},
    {7, 0x30, false, "SelfTimerTime"},
    {7, 0x0F, false, "MeteringTime"},
    {8, 0x38, false, "PlaybackMonitorOffTime"},
    {8, 0x07, false, "MenuMonitorOffTime"},
    {9, 0x38, false, "ShootingInfoMonitorOffTime"},
    {9, 0x07, false, "ImageReviewTime"},
    {10, 0xC0, false, "Beep"},
    {10, 0x30, false, "ShootingInfoDisplay"},
    {10, 0x08, false, "LCDIllumination"},
    {10, 0x04, false, "ExposureDelayMode"},
    {10, 0x02, false, "GridDisplay"},
    {11, 0x40, false, "FileNumberSequence"},
    {11, 0x07, false, "CLModeShootingSpeed"},
    {12, 0xFF, false, "MaxContinuousRelease"},
    {13, 0x08, false, "ScreenTips"},
    {13, 0x04, false, "BatteryOrder"},
    {13, 0x03, false, "MB-D10BatteryType"},
    {15, 0xF0, false, "FlashSyncSpeed"},
    {15, 0x0F, false, "FlashShutterSpeed"},
    {16, 0xC0, false, "FlashControlBuilt-in"},
    {26, 0xC0, false, "AutoBracketSet"},
    {26, 0x30, false, "AutoBracketModeM"},
    {26, 0x08, false, "AutoBracketOrder"},
    {26, 0x01, false, "ModelingFlash"},
    {27, 0xC0, false, "MultiSelectorShootMode"},
    {27, 0x30, false, "MultiSelectorPlaybackMode"},
    {27, 0x0C, false, "InitialZoomSetting"},
    {27, 0x01, false, "MultiSelector"},
    {28, 0xF8, false, "FuncButton"},
    {29, 0xF8, false, "PreviewButton"},
    {30, 0xF8, false, "AELockButton"},
    {31, 0x70, false, "FuncButtonPlusDials"},
    {31, 0x07, false, "PreviewButtonPlusDials"},
    {32, 0x70, false, "AELockButtonPlusDials"},
    {33, 0x80, false, "CommandDialsReverseRotation"},
    {33, 0x40, false, "CommandDialsChangeMainSub"},
    {33, 0x20, false, "CommandDialsApertureSetting"},
    {33, 0x10, false, "CommandDialsMenuAndPlayback"},
    {33, 0x08, false, "ReverseIndicators"},
    {33, 0x04, false, "PhotoInfoPlayback"},
    {33, 0x02, false, "NoMemoryCard"},
    {33, 0x01, false, "ReleaseButtonToUseDial"},
};

struct CustomLayout {
    const char* version;
    uint32_t count; // the ShotInfo record's length
    uint16_t offset;
    std::span<const NikonCustomField> fields;
};

constexpr CustomLayout kLayouts[] = {
    {"0210", 5399, 0x301, kCustomD3}, {"0210", 5408, 0x30A, kCustomD3},
    {"0210", 5412, 0x30A, kCustomD3}, {"0214", 5409, 0x30B, kCustomD3},
    {"0212", 5312, 804, kCustomD700},
};

} // namespace

void ListNikonCustomSettings(const unsigned char* shotInfo, size_t size, MakerNoteList& list) {
    if (shotInfo == nullptr || size < 4)
        return;
    for (const CustomLayout& layout : kLayouts) {
        if (std::memcmp(shotInfo, layout.version, 4) != 0 || layout.count != size)
            continue;
        static const std::string kGroup = "NikonCustom";
        for (const NikonCustomField& f : layout.fields) {
            const size_t at = size_t{layout.offset} + f.index;
            if (at >= size)
                return;
            int shift = 0;
            while (shift < 8 && ((f.mask >> shift) & 1) == 0)
                ++shift;
            const int bits = (shotInfo[at] & f.mask) >> shift;
            double value = bits;
            if (f.signedSixths)
                value = (bits > 7 ? bits - 16 : bits) / 6.0;
            MetadataEntry* e = list.Add(kGroup, f.index, f.name, 1, 1);
            if (e == nullptr)
                return;
            e->value.kind = MetadataValue::Kind::Numbers;
            e->value.numbers.push_back(value);
            e->text = NumberText(value);
        }
        return;
    }
}
