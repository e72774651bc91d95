// CameraInfo layouts of the models we know, by byte offset. Facts from the
// published Canon tag lists. Some models move their fields with the
// firmware (the 5D Mark III): those want the firmware read first and are
// not here yet.

#include "metadata/makernotes/CanonRecordTables.h"

namespace {

constexpr CanonField k600D[] = {
    {3, kTiffByte, 1, CanonConv::None, CanonSkip::None, "FNumber"},
    {4, kTiffByte, 1, CanonConv::None, CanonSkip::None, "ExposureTime"},
    {6, kTiffByte, 1, CanonConv::InfoIso, CanonSkip::None, "ISO"},
    {7, kTiffByte, 1, CanonConv::None, CanonSkip::None, "HighlightTonePriority"},
    {21, kTiffByte, 1, CanonConv::None, CanonSkip::None, "FlashMeteringMode"},
    {25, kTiffByte, 1, CanonConv::Minus128, CanonSkip::None, "CameraTemperature"},
    {56, kTiffByte, 1, CanonConv::None, CanonSkip::None, "CameraOrientation"},
    {411, kTiffAscii, 6, CanonConv::None, CanonSkip::None, "FirmwareVersion"},
    {475, kTiffLong, 1, CanonConv::PlusOne, CanonSkip::None, "FileIndex"},
    {487, kTiffLong, 1, CanonConv::MinusOne, CanonSkip::None, "DirectoryIndex"},
};

constexpr CanonCameraInfo kCameraInfos[] = {
    {0x80000286, {0x000D, 1, "CameraInfo600D", k600D, std::size(k600D)}, 763},
};

} // namespace

const CanonCameraInfo* FindCanonCameraInfo(uint32_t modelId) {
    for (const CanonCameraInfo& info : kCameraInfos) {
        if (info.modelId == modelId)
            return &info;
    }
    return nullptr;
}
