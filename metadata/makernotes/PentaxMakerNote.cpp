#include "metadata/makernotes/PentaxMakerNote.h"

#include "metadata/makernotes/LensNames.h"
#include "metadata/makernotes/MakerTagTable.h"

#include <cstring>

namespace {

// Ids and names of the main directory's entries, and the meanings of the
// common enumerated fields (exiftool's Pentax tables as the reference).
constexpr MakerValueText kQuality[] = {
    {0, "Good"},
    {1, "Better"},
    {2, "Best"},
    {3, "TIFF"},
    {4, "RAW"},
    {5, "Premium"},
    {7, "RAW (pixel shift enabled)"},
    {8, "Dynamic Pixel Shift"},
    {65535, "n/a"},
};
constexpr MakerValueText kPictureMode[] = {
    {0, "Program"},
    {1, "Shutter Speed Priority"},
    {2, "Program AE"},
    {3, "Manual"},
    {5, "Portrait"},
    {6, "Landscape"},
    {8, "Sport"},
    {9, "Night Scene"},
    {11, "Soft"},
    {12, "Surf & Snow"},
    {13, "Candlelight"},
    {14, "Autumn"},
    {15, "Macro"},
    {17, "Fireworks"},
    {18, "Text"},
    {19, "Panorama"},
    {20, "3-D"},
    {21, "Black & White"},
    {22, "Sepia"},
    {23, "Red"},
    {24, "Pink"},
    {25, "Purple"},
    {26, "Blue"},
    {27, "Green"},
    {28, "Yellow"},
    {30, "Self Portrait"},
    {31, "Illustrations"},
    {33, "Digital Filter"},
    {35, "Night Scene Portrait"},
    {37, "Museum"},
    {38, "Food"},
    {39, "Underwater"},
    {40, "Green Mode"},
    {49, "Light Pet"},
    {50, "Dark Pet"},
    {51, "Medium Pet"},
    {53, "Underwater"},
    {54, "Candlelight"},
    {55, "Natural Skin Tone"},
    {56, "Synchro Sound Record"},
    {58, "Frame Composite"},
    {59, "Report"},
    {60, "Kids"},
    {61, "Blur Reduction"},
    {63, "Panorama 2"},
    {65, "Half-length Portrait"},
    {66, "Portrait 2"},
    {74, "Digital Microscope"},
    {75, "Blue Sky"},
    {80, "Miniature"},
    {81, "HDR"},
    {83, "Fisheye"},
    {85, "Digital Filter 4"},
    {221, "P"},
    {255, "PICT"},
};
constexpr MakerValueText kFocusMode[] = {
    {0, "Normal"},
    {1, "Macro"},
    {2, "Infinity"},
    {3, "Manual"},
    {4, "Super Macro"},
    {5, "Pan Focus"},
    {16, "AF-S (Focus-priority)"},
    {17, "AF-C (Focus-priority)"},
    {18, "AF-A (Focus-priority)"},
    {32, "Contrast-detect (Focus-priority)"},
    {33, "Tracking Contrast-detect (Focus-priority)"},
    {272, "AF-S (Release-priority)"},
    {273, "AF-C (Release-priority)"},
    {274, "AF-A (Release-priority)"},
    {288, "Contrast-detect (Release-priority)"},
};
constexpr MakerValueText kWhiteBalance[] = {
    {0, "Auto"},
    {1, "Daylight"},
    {2, "Shade"},
    {3, "Fluorescent"},
    {4, "Tungsten"},
    {5, "Manual"},
    {6, "Daylight Fluorescent"},
    {7, "Day White Fluorescent"},
    {8, "White Fluorescent"},
    {9, "Flash"},
    {10, "Cloudy"},
    {11, "Warm White Fluorescent"},
    {14, "Multi Auto"},
    {15, "Color Temperature Enhancement"},
    {17, "Kelvin"},
    {65534, "Unknown"},
    {65535, "User-Selected"},
};

constexpr MakerTag kTags[] = {
    {0x0000, "PentaxVersion", {}},
    {0x0001, "PentaxModelType", {}},
    {0x0002, "PreviewImageSize", {}},
    {0x0003, "PreviewImageLength", {}},
    {0x0004, "PreviewImageStart", {}},
    {0x0005, "PentaxModelID", {}},
    {0x0006, "Date", {}},
    {0x0007, "Time", {}},
    {0x0008, "Quality", kQuality},
    {0x0009, "PentaxImageSize", {}},
    {0x000B, "PictureMode", kPictureMode},
    {0x000C, "FlashMode", {}},
    {0x000D, "FocusMode", kFocusMode},
    {0x000E, "AFPointSelected", {}},
    {0x000F, "AFPointsInFocus", {}},
    {0x0010, "FocusPosition", {}},
    {0x0012, "ExposureTime", {}},
    {0x0013, "FNumber", {}},
    {0x0014, "ISO", {}},
    {0x0015, "LightReading", {}},
    {0x0016, "ExposureCompensation", {}},
    {0x0017, "MeteringMode", {}},
    {0x0018, "AutoBracketing", {}},
    {0x0019, "WhiteBalance", kWhiteBalance},
    {0x001A, "WhiteBalanceMode", {}},
    {0x001B, "BlueBalance", {}},
    {0x001C, "RedBalance", {}},
    {0x001D, "FocalLength", {}},
    {0x001E, "DigitalZoom", {}},
    {0x001F, "Saturation", {}},
    {0x0020, "Contrast", {}},
    {0x0021, "Sharpness", {}},
    {0x0022, "WorldTimeLocation", {}},
    {0x0023, "HometownCity", {}},
    {0x0024, "DestinationCity", {}},
    {0x0025, "HometownDST", {}},
    {0x0026, "DestinationDST", {}},
    {0x0027, "DSPFirmwareVersion", {}},
    {0x0028, "CPUFirmwareVersion", {}},
    {0x0029, "FrameNumber", {}},
    {0x002D, "EffectiveLV", {}},
    {0x0032, "ImageEditing", {}},
    {0x0033, "PictureMode", {}},
    {0x0034, "DriveMode", {}},
    {0x0035, "SensorSize", {}},
    {0x0037, "ColorSpace", {}},
    {0x0038, "ImageAreaOffset", {}},
    {0x0039, "RawImageSize", {}},
    {0x003C, "AFPointsInFocus", {}},
    {0x003D, "DataScaling", {}},
    {0x003E, "PreviewImageBorders", {}},
    {0x003F, "LensRec", {}},
    {0x0040, "SensitivityAdjust", {}},
    {0x0041, "ImageEditCount", {}},
    {0x0047, "CameraTemperature", {}},
    {0x0048, "AELock", {}},
    {0x0049, "NoiseReduction", {}},
    {0x004D, "FlashExposureComp", {}},
    {0x004F, "ImageTone", {}},
    {0x0050, "ColorTemperature", {}},
    {0x0053, "ColorTempDaylight", {}},
    {0x0054, "ColorTempShade", {}},
    {0x0055, "ColorTempCloudy", {}},
    {0x0056, "ColorTempTungsten", {}},
    {0x0057, "ColorTempFluorescentD", {}},
    {0x0058, "ColorTempFluorescentN", {}},
    {0x0059, "ColorTempFluorescentW", {}},
    {0x005A, "ColorTempFlash", {}},
    {0x005D, "ShutterCount", {}},
    {0x0062, "RawDevelopmentProcess", {}},
    {0x0067, "Hue", {}},
    {0x0069, "DynamicRangeExpansion", {}},
    {0x006C, "HighLowKeyAdj", {}},
    {0x006D, "ContrastHighlight", {}},
    {0x006E, "ContrastShadow", {}},
    {0x006F, "ContrastHighlightShadowAdj", {}},
    {0x0070, "FineSharpness", {}},
    {0x0071, "HighISONoiseReduction", {}},
    {0x0072, "AFAdjustment", {}},
    {0x0073, "MonochromeFilterEffect", {}},
    {0x0074, "MonochromeToning", {}},
    {0x0076, "FaceDetect", {}},
    {0x0077, "FaceDetectFrameSize", {}},
    {0x0079, "ShadowCorrection", {}},
    {0x007A, "ISOAutoParameters", {}},
    {0x007B, "CrossProcess", {}},
    {0x007E, "WhiteLevel", {}},
    {0x007F, "BleachBypassToning", {}},
    {0x0080, "AspectRatio", {}},
    {0x0082, "BlurControl", {}},
    {0x0085, "HDR", {}},
    {0x0087, "ShutterType", {}},
    {0x0088, "NeutralDensityFilter", {}},
    {0x008B, "ISO", {}},
    {0x0092, "IntervalShooting", {}},
    {0x0095, "SkinToneCorrection", {}},
    {0x0096, "ClarityControl", {}},
    {0x0200, "BlackPoint", {}},
    {0x0201, "WhitePoint", {}},
    {0x0203, "ColorMatrixA", {}},
    {0x0204, "ColorMatrixB", {}},
    {0x0205, "CameraSettings", {}},
    {0x0206, "AEInfo", {}},
    {0x0207, "LensInfo", {}},
    {0x0208, "FlashInfo", {}},
    {0x0209, "AEMeteringSegments", {}},
    {0x020A, "FlashMeteringSegments", {}},
    {0x020B, "SlaveFlashMeteringSegments", {}},
    {0x020D, "WB_RGGBLevelsDaylight", {}},
    {0x020E, "WB_RGGBLevelsShade", {}},
    {0x020F, "WB_RGGBLevelsCloudy", {}},
    {0x0210, "WB_RGGBLevelsTungsten", {}},
    {0x0211, "WB_RGGBLevelsFluorescentD", {}},
    {0x0212, "WB_RGGBLevelsFluorescentN", {}},
    {0x0213, "WB_RGGBLevelsFluorescentW", {}},
    {0x0214, "WB_RGGBLevelsFlash", {}},
    {0x021B, "SaturationInfo", {}},
    {0x021C, "ColorMatrixA2", {}},
    {0x021D, "ColorMatrixB2", {}},
    {0x021F, "AFInfo", {}},
    {0x0220, "HuffmanTable", {}},
    {0x0229, "SerialNumber", {}},
    {0x022A, "FilterInfo", {}},
    {0x022E, "Artist", {}},
    {0x022F, "Copyright", {}},
    {0x0230, "FirmwareVersion", {}},
    {0x0231, "ContrastDetectAFArea", {}},
    {0x0235, "CrossProcessParams", {}},
    {0x023F, "Model", {}},
    {0x03FE, "DataDump", {}},
    {0x0402, "ToneCurve", {}},
    {0x0403, "ToneCurves", {}},
    {0x0405, "UnknownBlock", {}},
};

constexpr uint16_t kLensRec = 0x003F;

// LensRec: UNDEFINED (or BYTE) bytes, the lens series and its id first;
// bytes that all happen to be printable were read as text.
std::string LensText(const MetadataEntry& e) {
    if (e.id != kLensRec)
        return {};
    double series = -1;
    double id = -1;
    if (e.value.kind == MetadataValue::Kind::Numbers && e.value.numbers.size() >= 2) {
        series = e.value.numbers[0];
        id = e.value.numbers[1];
    } else if (e.value.kind == MetadataValue::Kind::Bytes && e.value.bytes.size() >= 2) {
        series = e.value.bytes[0];
        id = e.value.bytes[1];
    } else if (e.value.kind == MetadataValue::Kind::Text && e.value.text.size() >= 2) {
        series = static_cast<unsigned char>(e.value.text[0]);
        id = static_cast<unsigned char>(e.value.text[1]);
    }
    if (series < 0 || series > 255 || id < 0 || id > 255)
        return {};
    const LensCandidates lenses = FindLenses(
        LensTable::Pentax, PentaxLensKey(static_cast<uint8_t>(series), static_cast<uint8_t>(id)));
    return lenses.empty() ? std::string() : std::string(lenses.front().name);
}

constexpr MakerSummaryTag kSummary[] = {
    {kLensRec, MakerNoteList::Summary::Lens},
    {0x0229, MakerNoteList::Summary::SerialNumber},
    {0x0230, MakerNoteList::Summary::FirmwareVersion},
};

bool ReadOrderMark(const unsigned char* p, TiffByteOrder& order) {
    if (p[0] == 'M' && p[1] == 'M')
        order = TiffByteOrder::Big;
    else if (p[0] == 'I' && p[1] == 'I')
        order = TiffByteOrder::Little;
    else
        return false;
    return true;
}

// The bytes of `tag`'s value when it has at least `length` of them.
const unsigned char* RawBytes(const MakerNoteFrame& frame, const TiffDirectory& directory,
                              uint16_t tag, size_t length) {
    TiffEntry entry;
    TiffValue value;
    if (!directory.Find(tag, entry) || entry.ByteCount() < length ||
        frame.Locate(directory, entry, value) != TiffValueFault::None || value.size < length)
        return nullptr;
    return value.data;
}

// ShutterCount (0x005D) is four bytes, big-endian, XORed with the Date
// (0x0006: year as two bytes, month, day) read as a big-endian number and
// with the complement of the Time (0x0007: hour, minute, second, then a
// zero byte) read the same way. False when any of the three is missing.
bool ShutterCount(const MakerNoteFrame& frame, const TiffDirectory& directory, uint32_t& count) {
    const unsigned char* stored = RawBytes(frame, directory, 0x005D, 4);
    const unsigned char* date = RawBytes(frame, directory, 0x0006, 4);
    const unsigned char* time = RawBytes(frame, directory, 0x0007, 3);
    if (stored == nullptr || date == nullptr || time == nullptr)
        return false;
    const unsigned char clock[4] = {time[0], time[1], time[2], 0};
    count = Be32(stored) ^ Be32(date) ^ ~Be32(clock);
    return true;
}

} // namespace

bool ReadPentaxNote(const unsigned char* note, size_t size, TiffByteOrder order,
                    uint64_t storedOffset, MakerNoteList& list) {
    if (note == nullptr)
        return false;
    MakerNoteFrame frame;
    uint64_t directoryAt = 0;
    if (size >= 10 && std::memcmp(note, "PENTAX \0", 8) == 0) {
        if (!ReadOrderMark(note + 8, order))
            return false;
        directoryAt = 10;
        frame = MakerNoteFrame(note, size, order, 0);
    } else {
        if (size >= 6 && std::memcmp(note, "AOC\0", 4) == 0) {
            ReadOrderMark(note + 4, order); // two spaces: the file's order
            directoryAt = 6;
        }
        frame = FrameWithValuesInside(note, size, order, storedOffset, directoryAt);
    }
    const TiffDirectory directory = frame.DirectoryAt(frame.Base() + directoryAt);
    if (!PlausibleNoteDirectory(directory))
        return false;
    if (ListTableDirectory(frame, directory, kTags, kSummary, list, LensText) == 0)
        return false;
    uint32_t count = 0;
    if (ShutterCount(frame, directory, count))
        list.SetSummaryNumber(MakerNoteList::Summary::ShutterCount, count);
    return true;
}
