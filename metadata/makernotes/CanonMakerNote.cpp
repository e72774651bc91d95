#include "metadata/makernotes/CanonMakerNote.h"

#include "metadata/makernotes/CanonCustomFunctions.h"
#include "metadata/makernotes/CanonLensText.h"
#include "metadata/makernotes/CanonRecordTables.h"
#include "metadata/makernotes/CanonTagNames.h"
#include "metadata/makernotes/CanonValueTexts.h"
#include "metadata/makernotes/WholeNumber.h"
#include "metadata/tags/TagText.h"
#include "metadata/tags/TextEncoding.h"
#include "metadata/tags/TiffEntryValue.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr uint16_t kCameraSettings = 0x0001;
constexpr uint16_t kSerialNumber = 0x000C;
constexpr uint16_t kColorData = 0x4001;
constexpr uint16_t kShotInfo = 0x0004;
constexpr uint16_t kCameraInfo = 0x000D;
constexpr uint16_t kModelId = 0x0010;
constexpr uint16_t kImageType = 0x0006;
constexpr uint16_t kFileInfo = 0x0093;
constexpr uint16_t kLensModel = 0x0095;
constexpr int kFocalUnitsIndex = 25;
constexpr int kLensTypeIndex = 22;
constexpr int kMaxFocalIndex = 23;
constexpr int kMinFocalIndex = 24;
constexpr int kMaxApertureIndex = 26;
constexpr int kRfLensTypeIndex = 61; // in FileInfo

// What the walk learns on its way, for texts and the summary.
struct CanonState {
    double focalUnits = 1;
    std::string model; // the note's CanonImageType
    std::string lensModel;
    CanonLens lens;
    std::string lensSerial;
    std::string bodySerial;
    std::string firmware;
    uint32_t shutterCount = 0;
    uint32_t modelId = 0;
};

// The 20D, the 350D and its other names, which count some fields their own
// way.
bool IsTwentyDFamily(const std::string& model) {
    for (const char* name : {"20D", "350D", "REBEL XT", "Kiss Digital N"}) {
        const size_t at = model.find(name);
        if (at == std::string::npos)
            continue;
        const size_t end = at + std::strlen(name);
        const bool startsWord = at == 0 || model[at - 1] == ' ';
        const bool endsWord = end == model.size() || model[end] == ' ';
        if (startsWord && endsWord)
            return true;
    }
    return false;
}

bool Skipped(CanonSkip skip, double v) {
    switch (skip) {
    case CanonSkip::None:
        return false;
    case CanonSkip::Minus1:
        return v == -1;
    case CanonSkip::Max16:
        return v == 0x7FFF;
    case CanonSkip::Zero:
        return v == 0;
    case CanonSkip::NotPositive:
        return v <= 0;
    case CanonSkip::Negative:
        return v < 0;
    case CanonSkip::Below40:
        return v < 40;
    }
    return false;
}

std::string WithUnit(double v, const char* unit) {
    return NumberText(v) + " " + unit;
}

std::string HexText(const unsigned char* data, size_t size) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(size * 2);
    for (size_t i = 0; i < size; ++i) {
        out += kDigits[data[i] >> 4];
        out += kDigits[data[i] & 15];
    }
    return out;
}

// CameraSettings' CameraISO: a speed with bit 14 set, else a coded setting.
void CameraIso(MetadataEntry& e, int32_t v) {
    if (v & 0x4000) {
        SetEntryNumber(e, v & 0x3FFF);
        e.text = NumberText(v & 0x3FFF);
        return;
    }
    struct Coded {
        int32_t code;
        int speed;
        const char* text;
    };
    static constexpr Coded kCodes[] = {{0, 0, "n/a"}, {14, 0, "Auto High"}, {15, 0, "Auto"},
                                       {16, 50, ""},  {17, 100, ""},        {18, 200, ""},
                                       {19, 400, ""}, {20, 800, ""}};
    for (const Coded& c : kCodes) {
        if (c.code != v)
            continue;
        if (c.speed != 0) {
            SetEntryNumber(e, c.speed);
            e.text = NumberText(c.speed);
        } else {
            SetEntryText(e, c.text);
        }
        return;
    }
    SetEntryText(e, "Unknown (" + std::to_string(v) + ")");
}

// The field's value as its conversion gives it, and its text.
void Convert(const CanonRecord& record, const CanonField& field, const TiffValue& bytes, double raw,
             const CanonState& state, MetadataEntry& e) {
    double v = raw;
    switch (field.conv) {
    case CanonConv::None:
        break;
    case CanonConv::EvAperture:
        v = std::exp2(CanonEv(static_cast<int32_t>(raw)) / 2);
        break;
    case CanonConv::EvTime:
        v = std::exp2(-CanonEv(static_cast<int32_t>(raw)));
        break;
    case CanonConv::Ev:
        v = CanonEv(static_cast<int32_t>(raw));
        break;
    case CanonConv::MeasuredEv:
        v = raw / 32 + 5;
        break;
    case CanonConv::MeasuredEv2:
        v = raw / 8 - 6;
        break;
    case CanonConv::Minus128:
        v = raw - 128;
        break;
    case CanonConv::Div32:
        v = raw / 32;
        break;
    case CanonConv::Div100:
        v = raw / 100;
        break;
    case CanonConv::Div10:
        v = raw / 10;
        break;
    case CanonConv::AutoIso:
        v = std::exp2(raw / 32) * 100;
        break;
    case CanonConv::BaseIso:
        v = std::exp2(raw / 32) * 100 / 32;
        break;
    case CanonConv::CameraIso:
        CameraIso(e, static_cast<int32_t>(raw));
        return;
    case CanonConv::FocalUnits:
        v = raw / (state.focalUnits != 0 ? state.focalUnits : 1);
        break;
    case CanonConv::Mils:
        v = raw * 25.4 / 1000;
        break;
    case CanonConv::Hex:
        SetEntryText(e, HexText(bytes.data, bytes.size));
        return;
    case CanonConv::InfoIso:
        v = 100 * std::exp2(raw / 8 - 9);
        break;
    case CanonConv::PlusOne:
        v = raw + 1;
        break;
    case CanonConv::MinusOne:
        v = raw - 1;
        break;
    case CanonConv::SwapWords:
        // LONGs written as two SHORTs, the high one last.
        for (size_t i = 0; i < e.value.numbers.size(); ++i) {
            const uint32_t n = WholeNumber<uint32_t>(e.value.numbers[i]).value_or(0);
            e.value.numbers[i] = (n >> 16) | ((n & 0xFFFF) << 16);
        }
        e.text = RawText(e);
        return;
    }
    // The 20D family keeps its exposure time in other units.
    if (record.tag == kShotInfo && field.conv == CanonConv::EvTime && field.index == 22 &&
        IsTwentyDFamily(state.model))
        v *= 1000.0 / 32;
    if (field.conv != CanonConv::None && e.value.kind == MetadataValue::Kind::Numbers)
        SetEntryNumber(e, v);

    if (record.tag == kCameraSettings && field.index == kLensTypeIndex) {
        e.text = CanonLensText(state.lens);
        return;
    }
    // Picture style settings not in use.
    if (&record == &kCanonPictureStyleInfo && raw == -559038737) {
        e.text = "n/a";
        return;
    }
    // A rational of zero denominator, say, has no whole number to look up.
    const std::optional<int64_t> whole = WholeNumber<int64_t>(raw);
    const std::string_view known =
        whole ? CanonValueText(record.name, field.name, *whole) : std::string_view();
    if (!known.empty()) {
        e.text = std::string(known);
        return;
    }
    switch (field.conv) {
    case CanonConv::EvAperture:
        e.text = FNumberText(v);
        break;
    case CanonConv::EvTime:
        e.text = ExposureText(v);
        break;
    case CanonConv::FocalUnits:
    case CanonConv::Mils:
        e.text = WithUnit(v, "mm");
        break;
    case CanonConv::Minus128:
        e.text = WithUnit(v, "°C");
        break;
    case CanonConv::Div100:
        e.text = WithUnit(v, "m");
        break;
    case CanonConv::AutoIso:
    case CanonConv::BaseIso:
    case CanonConv::InfoIso:
        e.text = NumberText(std::round(v));
        break;
    default:
        e.text = e.value.kind == MetadataValue::Kind::Text ? e.value.text : RawText(e);
        break;
    }
}

// One field of a record: its bytes must lie wholly inside the record.
const MetadataEntry* ListField(const CanonRecord& record, const CanonField& field,
                               const TiffValue& recordBytes, const CanonState& state,
                               MakerNoteList& list) {
    const uint64_t at = uint64_t{field.index} * record.unit;
    const uint64_t size = uint64_t{TiffTypeSize(field.type)} * field.count;
    if (size == 0 || at > recordBytes.size || size > recordBytes.size - at)
        return nullptr;
    const TiffValue bytes{recordBytes.data + at, static_cast<size_t>(size), field.type,
                          recordBytes.order};
    const double raw = TiffNumberAt(bytes, 0);
    if (field.type != kTiffAscii && field.type != kTiffUndefined && Skipped(field.skip, raw))
        return nullptr;
    if (field.conv == CanonConv::Hex && size >= 4 &&
        (bytes.data[0] | bytes.data[1] | bytes.data[2] | bytes.data[3]) == 0)
        return nullptr; // lenses that do not report a serial number
    MetadataEntry* e = list.Add(field.index, field.name, field.type, field.count);
    if (e == nullptr)
        return nullptr;
    // The value alone: Convert gives every field its text.
    DecodeTiffValue(bytes, field.count, *e);
    Convert(record, field, bytes, raw, state, *e);
    return e;
}

// FileInfo's first LONG is a file number on the 20D family and the
// shutter count on the 1D models, each with its halves or bits in an order
// of its own; other models keep something else there.
void ListFileInfoCounter(const TiffValue& record, CanonState& state, MakerNoteList& list) {
    // The LONG at SHORT index 1: bytes 2 to 5.
    if (record.size < 6)
        return;
    const uint32_t v = TiffRead32(record.data + 2, record.order);
    if (IsTwentyDFamily(state.model)) {
        if (MetadataEntry* e = list.Add(1, "FileNumber", kTiffLong, 1)) {
            SetEntryNumber(*e,
                           ((v & 0xFFC0) >> 6) * 10000.0 + ((v >> 16) & 0xFF) + ((v & 0x3F) << 8));
            e->text = RawText(*e);
        }
    } else if (state.model.find("EOS-1D") != std::string::npos) {
        const uint32_t count = (v >> 16) | ((v & 0xFFFF) << 16);
        if (MetadataEntry* e = list.Add(1, "ShutterCount", kTiffLong, 1)) {
            SetEntryNumber(*e, count);
            e->text = RawText(*e);
            state.shutterCount = count;
        }
    }
}

void ListRecord(const CanonRecord& record, const TiffValue& bytes, CanonState& state,
                MakerNoteList& list) {
    for (size_t i = 0; i < record.count && !list.Full(); ++i) {
        const CanonField& field = record.fields[i];
        if (record.tag == kFileInfo && field.index == 1) {
            ListFileInfoCounter(bytes, state, list);
            continue;
        }
        const MetadataEntry* e = ListField(record, field, bytes, state, list);
        if (e != nullptr && field.conv == CanonConv::Hex && state.lensSerial.empty())
            state.lensSerial = e->value.text;
    }
}

// Bit n set: AF point n, for the first `points` bits of the words.
std::string AfPointsText(const TiffValue& words, uint32_t points) {
    std::string text;
    for (uint32_t point = 0; point < points && words.Has(point / 16); ++point) {
        const uint32_t word = TiffRead16(words.data + (point / 16) * 2, words.order);
        if (word & (1u << (point % 16)))
            text += (text.empty() ? "" : ",") + std::to_string(point);
    }
    return text.empty() ? "(none)" : text;
}

// The older AFInfo: SHORTs, the number of AF points first, then sizes, the
// points' positions and the points in focus.
void ListAfInfo(const TiffValue& v, MakerNoteList& list) {
    static constexpr std::string_view kHead[] = {
        "NumAFPoints",  "ValidAFPoints", "CanonImageWidth", "CanonImageHeight",
        "AFImageWidth", "AFImageHeight", "AFAreaWidth",     "AFAreaHeight"};
    if (v.size < 16)
        return;
    const uint32_t points = TiffRead16(v.data, v.order);
    for (uint32_t i = 0; i < 8; ++i) {
        MetadataEntry* e = list.Add(static_cast<int32_t>(i), kHead[i], kTiffShort, 1);
        if (e == nullptr)
            return;
        SetEntryNumber(*e, TiffRead16(v.data + i * 2, v.order));
        e->text = RawText(*e);
    }
    const uint32_t words = (points + 15) / 16;
    struct Array {
        std::string_view name;
        uint32_t length;
    };
    const Array arrays[] = {
        {"AFAreaXPositions", points}, {"AFAreaYPositions", points}, {"AFPointsInFocus", words}};
    uint64_t at = 8 * 2;
    int32_t id = 8;
    for (const Array& a : arrays) {
        const uint64_t size = uint64_t{a.length} * 2;
        if (a.length == 0 || at > v.size || size > v.size - at)
            return;
        const TiffValue bytes{v.data + at, static_cast<size_t>(size), kTiffSShort, v.order};
        at += size;
        MetadataEntry* e = list.Add(id++, a.name, kTiffSShort, a.length);
        if (e == nullptr)
            return;
        FillFromValue(bytes, a.length, *e);
        if (a.name == "AFPointsInFocus")
            e->text = AfPointsText(bytes, points);
    }
}

// CameraInfo of a model we know: its fields, then the picture style
// settings inside it. False for other models (the entry is listed as it is).
bool ListCameraInfo(const TiffValue& bytes, CanonState& state, MakerNoteList& list) {
    const CanonCameraInfo* info = FindCanonCameraInfo(state.modelId);
    if (info == nullptr)
        return false;
    ListRecord(info->record, bytes, state, list);
    if (info->pictureStyleAt < bytes.size) {
        const TiffValue styles{bytes.data + info->pictureStyleAt, bytes.size - info->pictureStyleAt,
                               bytes.type, bytes.order};
        ListRecord(kCanonPictureStyleInfo, styles, state, list);
    }
    return true;
}

// AFInfo2 (and AFInfo3): SHORTs whose arrays are as long as its number of
// AF points says, so that later fields move with it.
void ListAfInfo2(const TiffValue& v, MakerNoteList& list) {
    const auto shortAt = [&v](uint64_t index, uint32_t& out) {
        if (index * 2 + 2 > v.size)
            return false;
        out = TiffRead16(v.data + index * 2, v.order);
        return true;
    };
    static constexpr std::string_view kHead[] = {
        "AFInfoSize",      "AFAreaMode",       "NumAFPoints",  "ValidAFPoints",
        "CanonImageWidth", "CanonImageHeight", "AFImageWidth", "AFImageHeight"};
    uint32_t points = 0;
    for (uint32_t i = 0; i < 8; ++i) {
        uint32_t n;
        if (!shortAt(i, n))
            return;
        if (i == 2)
            points = n;
        MetadataEntry* e = list.Add(static_cast<int32_t>(i), kHead[i], kTiffShort, 1);
        if (e == nullptr)
            return;
        SetEntryNumber(*e, n);
        const std::string_view known =
            i == 1 ? CanonValueText("AFInfo2", "AFAreaMode", n) : std::string_view();
        e->text = known.empty() ? NumberText(n) : std::string(known);
    }
    const uint32_t words = (points + 15) / 16;
    struct Array {
        std::string_view name;
        uint32_t length;
        bool bits;
    };
    const Array arrays[] = {
        {"AFAreaWidths", points, false},     {"AFAreaHeights", points, false},
        {"AFAreaXPositions", points, false}, {"AFAreaYPositions", points, false},
        {"AFPointsInFocus", words, true},    {"AFPointsSelected", words, true}};
    uint64_t at = 8 * 2;
    int32_t id = 8;
    for (const Array& a : arrays) {
        const uint64_t size = uint64_t{a.length} * 2;
        if (a.length == 0 || at > v.size || size > v.size - at)
            return;
        const TiffValue bytes{v.data + at, static_cast<size_t>(size), kTiffSShort, v.order};
        at += size;
        MetadataEntry* e = list.Add(id++, a.name, kTiffSShort, a.length);
        if (e == nullptr)
            return;
        FillFromValue(bytes, a.length, *e);
        if (a.bits)
            e->text = AfPointsText(bytes, points);
    }
    uint32_t primary;
    if (shortAt(at / 2, primary)) {
        if (MetadataEntry* e = list.Add(14, "PrimaryAFPoint", kTiffShort, 1)) {
            SetEntryNumber(*e, primary);
            e->text = NumberText(primary);
        }
    }
}

// CustomFunctions2: groups of settings, each an id, a count of LONGs and
// the values. Every length is checked against the record's end.
void ListCustomFunctions2(const TiffValue& v, MakerNoteList& list) {
    if (v.size < 8 || TiffRead16(v.data, v.order) != v.size)
        return;
    const std::string group = "CanonCustom";
    uint64_t pos = 8;
    for (int groups = 0; groups < 64 && pos + 12 <= v.size; ++groups) {
        const uint32_t length = TiffRead32(v.data + pos + 4, v.order);
        if (length < 8)
            return;
        pos += 12;
        const uint64_t end = pos + (uint64_t{length} - 8);
        if (end > v.size)
            return;
        for (int n = 0; n < 512 && pos + 8 < end; ++n) {
            const uint32_t id = TiffRead32(v.data + pos, v.order);
            const uint32_t count = TiffRead32(v.data + pos + 4, v.order);
            if (count > (end - pos - 8) / 4)
                return;
            const TiffValue values{v.data + pos + 8, size_t{count} * 4, kTiffSLong, v.order};
            pos += 8 + uint64_t{count} * 4;
            const std::string_view known = CanonCustomFunction2Name(id);
            MetadataEntry* e =
                list.Add(group, static_cast<int32_t>(id & 0x7FFFFFFF), known, kTiffSLong, count);
            if (e == nullptr)
                return;
            if (known.empty())
                e->name = MakerTagId(static_cast<uint16_t>(id));
            FillFromValue(values, count, *e);
        }
        pos = end;
    }
}

// The older custom functions: SHORTs after a length, each a function
// number (high byte) and its setting (low byte).
void ListCustomFunctions(const TiffValue& v, MakerNoteList& list) {
    if (v.size < 4)
        return;
    const std::string group = "CanonCustom";
    for (uint64_t pos = 2; pos + 2 <= v.size && pos < 2 + 2 * 256; pos += 2) {
        const uint32_t word = TiffRead16(v.data + pos, v.order);
        const uint32_t id = word >> 8;
        MetadataEntry* e = list.Add(group, static_cast<int32_t>(id), {}, kTiffByte, 1);
        if (e == nullptr)
            return;
        e->name = "CustomFunction" + std::to_string(id);
        SetEntryNumber(*e, word & 0xFF);
        e->text = NumberText(word & 0xFF);
    }
}

// SerialNumber as Canon prints it: ten digits; the D30 a hex and a
// decimal part, the early 1D models six digits at least.
std::string SerialText(uint32_t serial, const std::string& model) {
    char text[24];
    if (model.find("EOS D30") != std::string::npos)
        std::snprintf(text, sizeof text, "%04x%05u", serial >> 16, serial & 0xFFFF);
    else if (model.find("EOS-1D") != std::string::npos)
        std::snprintf(text, sizeof text, "%06u", serial);
    else
        std::snprintf(text, sizeof text, "%010u", serial);
    return text;
}

std::string Trimmed(std::string s) {
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

void ListPlainEntry(uint16_t tag, const TiffEntry& entry, const TiffValue* value,
                    TiffValueFault fault, CanonState& state, MakerNoteList& list) {
    const std::string_view known = CanonTagName(tag);
    MetadataEntry* e = list.AddTag(tag, known, entry.type, entry.count);
    if (e == nullptr)
        return;
    if (value == nullptr) {
        e->text = fault == TiffValueFault::UnknownType
                      ? "(unknown type " + std::to_string(entry.type) + ")"
                      : "(value outside the maker note)";
        return;
    }
    FillFromValue(*value, entry.count, *e);
    const bool number = e->value.IsSingleNumber();
    const bool text = e->value.kind == MetadataValue::Kind::Text;
    switch (tag) {
    case 0x0006:
        if (text)
            state.model = e->value.text;
        break;
    case 0x0007:
        if (text) {
            std::string firmware = Trimmed(e->value.text);
            constexpr std::string_view kPrefix = "Firmware Version ";
            if (firmware.compare(0, kPrefix.size(), kPrefix) == 0)
                firmware.erase(0, kPrefix.size());
            state.firmware = firmware;
        }
        break;
    case kSerialNumber:
        if (const auto serial =
                number ? WholeNumber<uint32_t>(e->value.numbers[0]) : std::nullopt) {
            e->text = SerialText(*serial, state.model);
            state.bodySerial = e->text;
        }
        break;
    case 0x0028:
        // Sixteen bytes, written as hex digits.
        if (value->size == 16 && entry.type == kTiffByte) {
            SetEntryText(*e, HexText(value->data, value->size));
        }
        break;
    case 0x0038:
        // The battery's name after a four-byte length.
        if (value->size > 4 && entry.type == kTiffUndefined) {
            const char* name = reinterpret_cast<const char*>(value->data + 4);
            const size_t n = strnlen(name, value->size - 4);
            if (n > 0 && IsPrintableAscii(value->data + 4, n))
                SetEntryText(*e, std::string(name, n));
        }
        break;
    case kLensModel:
        if (text)
            state.lensModel = e->value.text;
        break;
    case 0x00B4:
        if (number) {
            const std::string_view t = CanonValueText(
                "Main", "ColorSpace", WholeNumber<int64_t>(e->value.numbers[0]).value_or(-1));
            if (!t.empty())
                e->text = std::string(t);
        }
        break;
    case 0x4008:
    case 0x4009: {
        // Three picture styles, as Processing's PictureStyle names them.
        std::string styles;
        for (size_t i = 0;
             i < e->value.numbers.size() && e->value.kind == MetadataValue::Kind::Numbers; ++i) {
            const int64_t n = WholeNumber<int64_t>(e->value.numbers[i]).value_or(-1);
            const std::string_view t = CanonValueText("Processing", "PictureStyle", n);
            styles += (i ? "; " : "") + (t.empty() ? std::to_string(n) : std::string(t));
        }
        if (!styles.empty())
            e->text = styles;
        break;
    }
    default:
        break;
    }
}

// A directory is Canon's when its count is sensible and most of its
// entries have a type we know: a note of another layout (a header, text)
// fails here.
bool Plausible(const TiffDirectory& directory) {
    if (!directory.Valid() || directory.DeclaredCount() == 0 ||
        directory.DeclaredCount() > MakerNoteList::kMaxDirectoryEntries ||
        directory.FittingCount() == 0)
        return false;
    uint32_t known = 0;
    for (uint32_t i = 0; i < directory.FittingCount(); ++i) {
        const uint16_t type = directory.Entry(i).type;
        known += type >= 1 && type <= 13;
    }
    return known * 4 >= directory.FittingCount() * 3;
}

} // namespace

double CanonEv(int32_t code) {
    const double sign = code < 0 ? -1 : 1;
    const int64_t magnitude = code < 0 ? -int64_t{code} : code;
    const int64_t fraction = magnitude & 0x1F;
    double thirds = static_cast<double>(fraction);
    if (fraction == 0x0C)
        thirds = 32.0 / 3;
    else if (fraction == 0x14)
        thirds = 64.0 / 3;
    return sign * (static_cast<double>(magnitude - fraction) + thirds) / 32;
}

bool ReadCanonDirectory(const MakerNoteFrame& frame, uint64_t offset, MakerNoteList& list) {
    const TiffDirectory directory = frame.DirectoryAt(offset);
    if (!Plausible(directory))
        return false;
    const uint32_t count = directory.FittingCount();

    CanonState state;
    // FocalUnits divides focal lengths listed before it.
    TiffEntry settings;
    TiffValue settingsValue;
    if (directory.Find(kCameraSettings, settings) &&
        frame.Locate(directory, settings, settingsValue) == TiffValueFault::None) {
        const TiffValue units{settingsValue.data, settingsValue.size, kTiffSShort,
                              settingsValue.order};
        if (units.Has(kFocalUnitsIndex) && TiffNumberAt(units, kFocalUnitsIndex) > 0)
            state.focalUnits = TiffNumberAt(units, kFocalUnitsIndex);
        if (units.Has(kLensTypeIndex))
            state.lens.lensType = TiffRead16(units.data + kLensTypeIndex * 2, units.order);
        // The focal range and widest aperture choose among lenses sharing a number.
        if (units.Has(kMinFocalIndex) && units.Has(kMaxFocalIndex)) {
            state.lens.hints.minFocalMm = TiffNumberAt(units, kMinFocalIndex) / state.focalUnits;
            state.lens.hints.maxFocalMm = TiffNumberAt(units, kMaxFocalIndex) / state.focalUnits;
        }
        if (units.Has(kMaxApertureIndex) && TiffNumberAt(units, kMaxApertureIndex) > 0)
            state.lens.hints.maxAperture = std::exp2(
                CanonEv(static_cast<int32_t>(TiffNumberAt(units, kMaxApertureIndex))) / 2);
    }
    TiffEntry fileInfo;
    TiffValue fileInfoValue;
    if (directory.Find(kFileInfo, fileInfo) &&
        frame.Locate(directory, fileInfo, fileInfoValue) == TiffValueFault::None) {
        const TiffValue words{fileInfoValue.data, fileInfoValue.size, kTiffShort,
                              fileInfoValue.order};
        if (words.Has(kRfLensTypeIndex))
            state.lens.rfLensType = TiffRead16(words.data + kRfLensTypeIndex * 2, words.order);
    }

    // CameraInfo's layout goes by the model, listed after it.
    TiffEntry modelEntry;
    TiffValue modelValue;
    if (directory.Find(kModelId, modelEntry) &&
        frame.Locate(directory, modelEntry, modelValue) == TiffValueFault::None)
        TiffUnsignedAt(modelValue, 0, state.modelId);
    // Some ShotInfo and FileInfo fields go by the model's name, listed after
    // them.
    TiffEntry typeEntry;
    TiffValue typeValue;
    if (directory.Find(kImageType, typeEntry) && typeEntry.type == kTiffAscii &&
        frame.Locate(directory, typeEntry, typeValue) == TiffValueFault::None)
        state.model.assign(reinterpret_cast<const char*>(typeValue.data),
                           strnlen(reinterpret_cast<const char*>(typeValue.data), typeValue.size));

    for (uint32_t i = 0; i < count && !list.Full(); ++i) {
        const TiffEntry entry = directory.Entry(i);
        // The lens alone takes the settings and file info read above, and
        // the lens model.
        if (list.LensOnly() && entry.tag != kLensModel)
            continue;
        TiffValue value;
        const TiffValueFault fault = frame.Locate(directory, entry, value);
        if (fault != TiffValueFault::None) {
            ListPlainEntry(entry.tag, entry, nullptr, fault, state, list);
            continue;
        }
        if (entry.tag == kCameraInfo && ListCameraInfo(value, state, list))
            continue;
        const CanonRecord* record = entry.tag == kColorData && entry.type == kTiffShort
                                        ? FindCanonColorData(entry.count)
                                        : FindCanonRecord(entry.tag);
        if (record != nullptr) {
            ListRecord(*record, value, state, list);
            continue;
        }
        switch (entry.tag) {
        case 0x0012:
            ListAfInfo(value, list);
            break;
        case 0x0026:
        case 0x003C:
            ListAfInfo2(value, list);
            break;
        case 0x0099:
            ListCustomFunctions2(value, list);
            break;
        case 0x000F:
        case 0x0090:
            ListCustomFunctions(value, list);
            break;
        default:
            ListPlainEntry(entry.tag, entry, &value, fault, state, list);
            break;
        }
    }

    // The lens tables' name first (it says the maker), then the camera's own
    // text, then the number.
    const bool lensTypeKnown = state.lens.lensType != 0 && state.lens.lensType != 0xFFFF;
    std::string lens = lensTypeKnown ? CanonLensName(state.lens) : std::string();
    if (lens.empty())
        lens = !state.lensModel.empty() || !lensTypeKnown ? state.lensModel
                                                          : CanonLensText(state.lens);
    if (lens.empty())
        lens = CanonLensByRange(state.lens.hints);
    list.SetSummary(MakerNoteList::Summary::Lens, lens);
    list.SetSummary(MakerNoteList::Summary::LensSerialNumber, state.lensSerial);
    list.SetSummary(MakerNoteList::Summary::SerialNumber, state.bodySerial);
    if (state.shutterCount != 0)
        list.SetSummaryNumber(MakerNoteList::Summary::ShutterCount, state.shutterCount);
    list.SetSummary(MakerNoteList::Summary::FirmwareVersion, state.firmware);
    return true;
}
