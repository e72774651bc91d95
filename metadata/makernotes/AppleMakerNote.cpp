#include "metadata/makernotes/AppleMakerNote.h"

#include "metadata/makernotes/BinaryPlist.h"
#include "metadata/tags/TagText.h"
#include "metadata/tiff/TiffHeader.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

constexpr size_t kOrderAt = 12;
constexpr size_t kDirectoryAt = 14;
constexpr uint16_t kRunTime = 0x0003;

struct AppleTag {
    uint16_t tag;
    std::string_view name;
};

// From the published Apple maker-note tag list.
constexpr AppleTag kAppleTags[] = {
    {0x0001, "MakerNoteVersion"},
    {0x0002, "AEMatrix"},
    {0x0003, "RunTime"},
    {0x0004, "AEStable"},
    {0x0005, "AETarget"},
    {0x0006, "AEAverage"},
    {0x0007, "AFStable"},
    {0x0008, "AccelerationVector"},
    {0x000A, "HDRImageType"},
    {0x000B, "BurstUUID"},
    {0x000C, "FocusDistanceRange"},
    {0x000F, "OISMode"},
    {0x0011, "MediaGroupUUID"},
    {0x0014, "ImageCaptureType"},
    {0x0015, "ImageUniqueID"},
    {0x0017, "LivePhotoVideoIndex"},
    {0x0019, "ImageProcessingFlags"},
    {0x001A, "QualityHint"},
    {0x001D, "LuminanceNoiseAmplitude"},
    {0x0020, "ImageCaptureRequestID"},
    {0x0021, "HDRHeadroom"},
    {0x0025, "SceneFlags"},
    {0x0026, "SignalToNoiseRatioType"},
    {0x0027, "SignalToNoiseRatio"},
    {0x002F, "FocusPosition"},
    {0x0030, "HDRGain"},
    {0x0038, "AFMeasuredDepth"},
    {0x003D, "AFConfidence"},
    {0x003E, "ColorCorrectionMatrix"},
    {0x003F, "GreenGhostMitigationStatus"},
    {0x0040, "SemanticStyle"},
    {0x0041, "SemanticStyleRenderingVer"},
    {0x0042, "SemanticStylePreset"},
    {0x0045, "FrontFacingCamera"},
};

std::string_view AppleTagName(uint16_t tag) {
    const auto it = std::lower_bound(std::begin(kAppleTags), std::end(kAppleTags), tag,
                                     [](const AppleTag& t, uint16_t v) { return t.tag < v; });
    return it != std::end(kAppleTags) && it->tag == tag ? it->name : std::string_view();
}

const char* YesNo(double v) {
    return v == 0 ? "No" : v == 1 ? "Yes" : nullptr;
}

// Texts of the few enumerated entries.
void ApplyText(MetadataEntry& e) {
    if (!e.value.IsSingleNumber())
        return;
    const double v = e.value.numbers[0];
    const char* text = nullptr;
    switch (e.id) {
    case 0x0004:
    case 0x0007:
    case 0x0045:
        text = YesNo(v);
        break;
    case 0x000A:
        text = v == 3 ? "HDR image" : v == 4 ? "Original image" : nullptr;
        break;
    default:
        break;
    }
    if (text != nullptr)
        e.text = text;
}

void SetPlistValue(const BinaryPlist::Value& v, MetadataEntry& e) {
    e.value = {};
    switch (v.kind) {
    case BinaryPlist::Value::Kind::Integer:
    case BinaryPlist::Value::Kind::Real:
        e.value.kind = MetadataValue::Kind::Numbers;
        e.value.numbers.push_back(
            v.kind == BinaryPlist::Value::Kind::Integer ? static_cast<double>(v.integer) : v.real);
        e.text = RawText(e);
        return;
    case BinaryPlist::Value::Kind::Boolean:
        e.value.kind = MetadataValue::Kind::Text;
        e.value.text = v.integer ? "True" : "False";
        break;
    case BinaryPlist::Value::Kind::Text:
    case BinaryPlist::Value::Kind::Container:
        e.value.kind = MetadataValue::Kind::Text;
        e.value.text = v.text;
        break;
    case BinaryPlist::Value::Kind::None:
        return;
    }
    e.text = e.value.text;
}

// RunTime: a dictionary of the clock at capture (flags, value, timescale,
// epoch), each listed as its own entry under the RunTime tag.
bool ListRunTime(const TiffValue& v, MakerNoteList& list) {
    BinaryPlist plist;
    if (!plist.Open(v.data, v.size))
        return false;
    bool listed = false;
    plist.ForEachInDictionary(
        plist.Top(), [&](const std::string& key, const BinaryPlist::Value& value) {
            std::string name = key;
            if (!name.empty())
                name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
            if (name == "Timescale")
                name = "Scale";
            if (MetadataEntry* e = list.Add(kRunTime, {}, 0, 1)) {
                e->name = "RunTime" + name;
                SetPlistValue(value, *e);
                if (key == "flags" && value.kind == BinaryPlist::Value::Kind::Integer) {
                    // Bit 0: the time is valid.
                    e->text = (value.integer & 1) ? "Valid" : "Not valid";
                }
                listed = true;
            }
        });
    return listed;
}

} // namespace

bool ReadAppleNote(const unsigned char* note, size_t size, MakerNoteList& list) {
    if (size < kDirectoryAt + 2 ||
        std::memcmp(note, kAppleSignature.data(), kAppleSignature.size()) != 0)
        return false;
    TiffByteOrder order;
    if (!ReadTiffByteOrder(note + kOrderAt, size - kOrderAt, order))
        return false;
    const MakerNoteFrame frame(note, size, order, 0);
    const TiffDirectory directory = frame.DirectoryAt(kDirectoryAt);
    if (!directory.Valid() || directory.FittingCount() == 0)
        return false;
    const uint32_t count = ListedCount(directory);
    for (uint32_t i = 0; i < count && !list.Full(); ++i) {
        const TiffEntry entry = directory.Entry(i);
        TiffValue value;
        const TiffValueFault fault = frame.Locate(directory, entry, value);
        if (fault == TiffValueFault::None && entry.tag == kRunTime && ListRunTime(value, list))
            continue;
        const std::string_view known = AppleTagName(entry.tag);
        MetadataEntry* e = list.AddTag(entry.tag, known, entry.type, entry.count);
        if (e == nullptr)
            break;
        switch (fault) {
        case TiffValueFault::None:
            break;
        case TiffValueFault::UnknownType:
            e->text = "(unknown type " + std::to_string(entry.type) + ")";
            continue;
        case TiffValueFault::OutsideBlock:
            e->text = "(value outside the maker note)";
            continue;
        }
        BinaryPlist plist;
        BinaryPlist::Value top;
        if ((entry.type == kTiffUndefined || entry.type == kTiffByte) &&
            plist.Open(value.data, value.size) && plist.Read(plist.Top(), top)) {
            SetPlistValue(top, *e);
            continue;
        }
        FillFromValue(value, entry.count, *e);
        ApplyText(*e);
    }
    return list.Size() > 0;
}
