#include "metadata/makernotes/NikonTagNames.h"

#include <iterator>

namespace {

struct NamedTag {
    uint16_t tag;
    std::string_view name;
};

// Sorted by tag. Binary records carry the name of the record itself; their
// fields are listed under their own names.
constexpr NamedTag kNames[] = {
    {0x0001, "MakerNoteVersion"},
    {0x0002, "ISO"},
    {0x0003, "ColorMode"},
    {0x0004, "Quality"},
    {0x0005, "WhiteBalance"},
    {0x0006, "Sharpness"},
    {0x0007, "FocusMode"},
    {0x0008, "FlashSetting"},
    {0x0009, "FlashType"},
    {0x000B, "WhiteBalanceFineTune"},
    {0x000C, "WB_RBLevels"},
    {0x000D, "ProgramShift"},
    {0x000E, "ExposureDifference"},
    {0x000F, "ISOSelection"},
    {0x0010, "DataDump"},
    {0x0011, "PreviewIFD"},
    {0x0012, "FlashExposureComp"},
    {0x0013, "ISOSetting"},
    {0x0014, "ColorBalanceA"},
    {0x0016, "ImageBoundary"},
    {0x0017, "ExternalFlashExposureComp"},
    {0x0018, "FlashExposureBracketValue"},
    {0x0019, "ExposureBracketValue"},
    {0x001A, "ImageProcessing"},
    {0x001B, "CropHiSpeed"},
    {0x001C, "ExposureTuning"},
    {0x001D, "SerialNumber"},
    {0x001E, "ColorSpace"},
    {0x001F, "VRInfo"},
    {0x0020, "ImageAuthentication"},
    {0x0021, "FaceDetect"},
    {0x0022, "ActiveD-Lighting"},
    {0x0023, "PictureControlData"},
    {0x0024, "WorldTime"},
    {0x0025, "ISOInfo"},
    {0x002A, "VignetteControl"},
    {0x002B, "DistortInfo"},
    {0x002C, "UnknownInfo"},
    {0x0032, "UnknownInfo2"},
    {0x0034, "ShutterMode"},
    {0x0035, "HDRInfo"},
    {0x0037, "MechanicalShutterCount"},
    {0x0039, "LocationInfo"},
    {0x003D, "BlackLevel"},
    {0x003E, "ImageSizeRAW"},
    {0x003F, "WhiteBalanceFineTune"},
    {0x0045, "CropArea"},
    {0x004E, "NikonSettings"},
    {0x004F, "ColorTemperatureAuto"},
    {0x0051, "MakerNotes0x51"},
    {0x0056, "MakerNotes0x56"},
    {0x0080, "ImageAdjustment"},
    {0x0081, "ToneComp"},
    {0x0082, "AuxiliaryLens"},
    {0x0083, "LensType"},
    {0x0084, "Lens"},
    {0x0085, "ManualFocusDistance"},
    {0x0086, "DigitalZoom"},
    {0x0087, "FlashMode"},
    {0x0088, "AFInfo"},
    {0x0089, "ShootingMode"},
    {0x008B, "LensFStops"},
    {0x008C, "ContrastCurve"},
    {0x008D, "ColorHue"},
    {0x008F, "SceneMode"},
    {0x0090, "LightSource"},
    {0x0091, "ShotInfo"},
    {0x0092, "HueAdjustment"},
    {0x0093, "NEFCompression"},
    {0x0094, "SaturationAdj"},
    {0x0095, "NoiseReduction"},
    {0x0096, "NEFLinearizationTable"},
    {0x0097, "ColorBalance"},
    {0x0098, "LensData"},
    {0x0099, "RawImageCenter"},
    {0x009A, "SensorPixelSize"},
    {0x009C, "SceneAssist"},
    {0x009D, "DateStampMode"},
    {0x009E, "RetouchHistory"},
    {0x00A0, "SerialNumber"},
    {0x00A2, "ImageDataSize"},
    {0x00A5, "ImageCount"},
    {0x00A6, "DeletedImageCount"},
    {0x00A7, "ShutterCount"},
    {0x00A8, "FlashInfo"},
    {0x00A9, "ImageOptimization"},
    {0x00AA, "Saturation"},
    {0x00AB, "VariProgram"},
    {0x00AC, "ImageStabilization"},
    {0x00AD, "AFResponse"},
    {0x00B0, "MultiExposure"},
    {0x00B1, "HighISONoiseReduction"},
    {0x00B3, "ToningEffect"},
    {0x00B6, "PowerUpTime"},
    {0x00B7, "AFInfo2"},
    {0x00B8, "FileInfo"},
    {0x00B9, "AFTune"},
    {0x00BB, "RetouchInfo"},
    {0x00BD, "PictureControlData"},
    {0x00BF, "SilentPhotography"},
    {0x00C3, "BarometerInfo"},
    {0x0E00, "PrintIM"},
    {0x0E01, "NikonCaptureData"},
    {0x0E09, "NikonCaptureVersion"},
    {0x0E0E, "NikonCaptureOffsets"},
    {0x0E10, "NikonScanIFD"},
    {0x0E13, "NikonCaptureEditVersions"},
    {0x0E1D, "NikonICCProfile"},
    {0x0E1E, "NikonCaptureOutput"},
    {0x0E22, "NEFBitDepth"},
};

} // namespace

std::string_view NikonTagName(uint16_t tag) {
    size_t low = 0;
    size_t high = std::size(kNames);
    while (low < high) {
        const size_t mid = (low + high) / 2;
        if (kNames[mid].tag < tag)
            low = mid + 1;
        else
            high = mid;
    }
    return low < std::size(kNames) && kNames[low].tag == tag ? kNames[low].name
                                                             : std::string_view();
}

std::string_view NikonScanTagName(uint16_t tag) {
    // The scanner's directory (0x0E10) as Nikon Scan writes it.
    static constexpr NamedTag kScan[] = {
        {0x0002, "FilmType"},
        {0x0040, "MultiSample"},
        {0x0041, "BitDepth"},
        {0x0050, "MasterGain"},
        {0x0051, "ColorGain"},
        {0x0060, "ScanImageEnhancer"},
        {0x0100, "DigitalICE"},
        {0x0110, "ROCInfo"},
        {0x0120, "GEMInfo"},
        {0x0200, "DigitalDEEShadowAdj"},
        {0x0201, "DigitalDEEThreshold"},
        {0x0202, "DigitalDEEHighlightAdj"},
    };
    for (const NamedTag& n : kScan) {
        if (n.tag == tag)
            return n.name;
    }
    return {};
}
