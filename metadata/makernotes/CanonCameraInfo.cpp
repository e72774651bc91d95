// CameraInfo layouts of the models we know, by byte offset. Facts from the
// published Canon tag lists.

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

constexpr CanonField k5DMarkIII[] = {
    {3, kTiffByte, 1, CanonConv::None, CanonSkip::None, "FNumber"},
    {4, kTiffByte, 1, CanonConv::None, CanonSkip::None, "ExposureTime"},
    {6, kTiffByte, 1, CanonConv::InfoIso, CanonSkip::None, "ISO"},
    {27, kTiffByte, 1, CanonConv::Minus128, CanonSkip::None, "CameraTemperature"},
    {125, kTiffByte, 1, CanonConv::None, CanonSkip::None, "CameraOrientation"},
    {356, kTiffUndefined, 5, CanonConv::Hex, CanonSkip::None, "LensSerialNumber"},
    {572, kTiffAscii, 6, CanonConv::None, CanonSkip::None, "FirmwareVersion"},
    {652, kTiffLong, 1, CanonConv::PlusOne, CanonSkip::None, "FileIndex"},
    {656, kTiffLong, 1, CanonConv::PlusOne, CanonSkip::None, "FileIndex2"},
    {664, kTiffLong, 1, CanonConv::MinusOne, CanonSkip::None, "DirectoryIndex"},
    {668, kTiffLong, 1, CanonConv::MinusOne, CanonSkip::None, "DirectoryIndex2"},
};

constexpr CanonCameraInfo kCameraInfos[] = {
    {0x80000286, {0x000D, 1, "CameraInfo600D", k600D, std::size(k600D)}, 763},
    {0x80000285, {0x000D, 1, "CameraInfo5DmkIII", k5DMarkIII, std::size(k5DMarkIII)}, 944},
};

} // namespace

const CanonCameraInfo* FindCanonCameraInfo(uint32_t modelId) {
    for (const CanonCameraInfo& info : kCameraInfos) {
        if (info.modelId == modelId)
            return &info;
    }
    return nullptr;
}
