#include "metadata/makernotes/NikonCapture.h"

#include "metadata/tags/TagText.h"
#include "metadata/tags/TextEncoding.h"
#include "metadata/tiff/ByteOrder.h"

#include <cstring>
#include <string>

namespace {

enum class CaptureFormat : uint8_t { Byte, Short, SShort, Double, Text, Record };

struct CaptureTag {
    uint32_t id;
    const char* name;
    CaptureFormat format;
};

// Capture NX's record ids and names; records with fields of their own
// (crop, unsharp mask, white balance, ...) are listed whole.
constexpr CaptureTag kCaptureTags[] = {
    {0x008AE85E, "LCHEditor", CaptureFormat::Byte},
    {0x083A1A25, "HistogramXML", CaptureFormat::Record},
    {0x0C89224B, "ColorAberrationControl", CaptureFormat::Byte},
    {0x116FEA21, "HighlightData", CaptureFormat::Record},
    {0x2175EB78, "D-LightingHQ", CaptureFormat::Byte},
    {0x2FC08431, "StraightenAngle", CaptureFormat::Double},
    {0x374233E0, "CropData", CaptureFormat::Record},
    {0x39C456AC, "PictureCtrl", CaptureFormat::Record},
    {0x3CFC73C6, "RedEyeData", CaptureFormat::Record},
    {0x3D136244, "EditVersionName", CaptureFormat::Text},
    {0x416391C6, "QuickFix", CaptureFormat::Byte},
    {0x56A54260, "Exposure", CaptureFormat::Record},
    {0x5F0E7D23, "ColorBooster", CaptureFormat::Byte},
    {0x6A6E36B6, "D-LightingHQSelected", CaptureFormat::Byte},
    {0x753DCBC0, "NoiseReduction", CaptureFormat::Byte},
    {0x76A43200, "UnsharpMask", CaptureFormat::Byte},
    {0x76A43201, "Curves", CaptureFormat::Byte},
    {0x76A43202, "ColorBalanceAdj", CaptureFormat::Byte},
    {0x76A43203, "AdvancedRaw", CaptureFormat::Byte},
    {0x76A43204, "WhiteBalanceAdj", CaptureFormat::Byte},
    {0x76A43205, "VignetteControl", CaptureFormat::Byte},
    {0x76A43206, "FlipHorizontal", CaptureFormat::Byte},
    {0x76A43207, "Rotation", CaptureFormat::Short},
    {0x84589434, "BrightnessData", CaptureFormat::Record},
    {0x890FF591, "D-LightingHQData", CaptureFormat::Record},
    {0x926F13E0, "NoiseReductionData", CaptureFormat::Record},
    {0x9EF5F6E0, "IPTCData", CaptureFormat::Record},
    {0xAB5ECA5E, "PhotoEffects", CaptureFormat::Byte},
    {0xAC6BD5C0, "VignetteControlIntensity", CaptureFormat::SShort},
    {0xB0384E1E, "PhotoEffectsData", CaptureFormat::Record},
    {0xB999A36F, "ColorBoostData", CaptureFormat::Record},
    {0xBF3C6C20, "WBAdjData", CaptureFormat::Record},
    {0xCE5554AA, "D-LightingHS", CaptureFormat::Byte},
    {0xE2173C47, "PictureControl", CaptureFormat::Byte},
    {0xE37B4337, "D-LightingHSData", CaptureFormat::Record},
    {0xE42B5161, "UnsharpData", CaptureFormat::Record},
    {0xE9651831, "PhotoEffectHistoryXML", CaptureFormat::Record},
    {0xFE28A44F, "AutoRedEye", CaptureFormat::Byte},
    {0xFE443A45, "ImageDustOff", CaptureFormat::Byte},
};

const CaptureTag* FindCaptureTag(uint32_t id) {
    for (const CaptureTag& t : kCaptureTags) {
        if (t.id == id)
            return &t;
    }
    return nullptr;
}

} // namespace

void ListNikonCaptureData(const unsigned char* data, size_t size, MakerNoteList& list) {
    // A 22-byte head, then records: a LONG id, 14 bytes, a LONG length
    // counting itself, the value; all little-endian.
    static const std::string kGroup = "NikonCapture";
    constexpr size_t kHead = 22;
    if (data == nullptr || size < kHead)
        return;
    size_t at = kHead;
    for (int records = 0; records < 512 && size - at > kHead; ++records) {
        const uint32_t id = Le32(data + at);
        const uint32_t stored = Le32(data + at + 18);
        at += kHead;
        if (stored < 4 || stored - 4 > size - at)
            return;
        const size_t length = stored - 4;
        const unsigned char* p = data + at;
        at += length;
        const CaptureTag* tag = FindCaptureTag(id);
        if (tag == nullptr)
            continue;
        // Ids above 2^31 keep their bits as a negative id.
        MetadataEntry* e = list.Add(kGroup, static_cast<int32_t>(id), tag->name, kTiffUndefined,
                                    static_cast<uint32_t>(length));
        if (e == nullptr)
            return;
        double number = 0;
        bool isNumber = true;
        switch (tag->format) {
        case CaptureFormat::Byte:
            isNumber = length >= 1;
            number = isNumber ? p[0] : 0;
            break;
        case CaptureFormat::Short:
        case CaptureFormat::SShort:
            isNumber = length >= 2;
            if (isNumber)
                number = tag->format == CaptureFormat::SShort ? double(int16_t(Le16(p))) : Le16(p);
            break;
        case CaptureFormat::Double:
            isNumber = length >= 8;
            if (isNumber) {
                const uint64_t bits = Le64(p);
                std::memcpy(&number, &bits, sizeof number);
            }
            break;
        case CaptureFormat::Text: {
            isNumber = false;
            const void* nul = std::memchr(p, 0, length);
            const size_t used =
                nul != nullptr ? static_cast<size_t>(static_cast<const unsigned char*>(nul) - p)
                               : length;
            e->value.kind = MetadataValue::Kind::Text;
            e->value.text = Utf8OrLatin1(p, used);
            e->text = e->value.text;
            continue;
        }
        case CaptureFormat::Record:
            isNumber = false;
            break;
        }
        if (isNumber) {
            e->value.kind = MetadataValue::Kind::Numbers;
            e->value.numbers.push_back(number);
            e->text = NumberText(number);
        } else {
            e->rawOverride = "(" + std::to_string(length) + " bytes)";
            e->text = e->rawOverride;
        }
    }
}
