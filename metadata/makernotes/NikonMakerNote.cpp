#include "metadata/makernotes/NikonMakerNote.h"

#include "metadata/makernotes/LensChoice.h"
#include "metadata/makernotes/NikonCapture.h"
#include "metadata/makernotes/NikonCipher.h"
#include "metadata/makernotes/NikonCustomSettings.h"
#include "metadata/makernotes/NikonRecords.h"
#include "metadata/makernotes/NikonTagNames.h"
#include "metadata/makernotes/WholeNumber.h"
#include "metadata/tags/FixedDecimals.h"
#include "metadata/tags/TagText.h"
#include "metadata/tags/TextEncoding.h"
#include "metadata/tiff/TiffHeader.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr uint16_t kPreviewIfd = 0x0011;
constexpr uint16_t kSerialNumber = 0x001D;
constexpr uint16_t kLensType = 0x0083;
constexpr uint16_t kLens = 0x0084;
constexpr uint16_t kLensFStops = 0x008B;
constexpr uint16_t kLensData = 0x0098;
constexpr uint16_t kShotInfo = 0x0091;
constexpr uint16_t kSerialText = 0x00A0;
constexpr uint16_t kShutterCount = 0x00A7;
constexpr uint16_t kPowerUpTime = 0x00B6;
constexpr uint16_t kScanIfd = 0x0E10;
constexpr uint16_t kCaptureData = 0x0E01;

// The lens-data fields that make the lens key, in the key's order.
constexpr std::string_view kLensKeyFields[] = {"LensIDNumber",
                                               "LensFStops",
                                               "MinFocalLength",
                                               "MaxFocalLength",
                                               "MaxApertureAtMinFocal",
                                               "MaxApertureAtMaxFocal",
                                               "MCUVersion"};

// What the walk learns on its way, for deciphering and the summary.
struct NikonState {
    std::string serialKeyText; // 0x001D
    std::string serialText;    // 0x00A0
    bool haveCount = false;
    uint32_t shutterCount = 0;
    int lensType = -1;
    double lens[4] = {0, 0, 0, 0}; // 0x0084: focal range and apertures
    uint8_t lensBytes[7] = {};
    int lensBytesSeen = 0;
    uint32_t zLensId = 0;
    std::string lensModel;
    std::string firmware;
    bool lensBody = false; // lens, lens data or shot info: a body taking lenses, not a Coolpix
    bool shotCount = false;
    uint32_t shotShutterCount = 0;
};

std::string Trimmed(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0'))
        text.remove_suffix(1);
    return std::string(text);
}

std::string Fixed(double v, int decimals, const char* unit = "") {
    return FixedDecimalsText(v, decimals) + unit;
}

std::string HexBytes(const unsigned char* data, size_t size) {
    std::string out;
    for (size_t i = 0; i < size; ++i) {
        char two[4];
        std::snprintf(two, sizeof two, "%02X", data[i]);
        if (i != 0)
            out += ' ';
        out += two;
    }
    return out;
}

double Converted(NikonConv conv, double raw) {
    switch (conv) {
    case NikonConv::None:
        return raw;
    case NikonConv::ExitPupil:
        return raw != 0 ? 2048 / raw : 0;
    case NikonConv::Aperture:
        return std::exp2(raw / 24);
    case NikonConv::Focal:
        return 5 * std::exp2(raw / 24);
    case NikonConv::FocusDistance:
        return 0.01 * std::pow(10, raw / 40);
    case NikonConv::Twelfths:
        return raw / 12;
    case NikonConv::Minus128:
        return raw - 128;
    case NikonConv::Iso:
        return 100 * std::exp2(raw / 12 - 5);
    case NikonConv::MinusSixths:
        return raw == 0 ? 0 : -raw / 6;
    }
    return raw;
}

std::string ConvertedText(NikonConv conv, double v) {
    switch (conv) {
    case NikonConv::ExitPupil:
        return Fixed(v, 1, " mm");
    case NikonConv::Aperture:
        return Fixed(v, 1);
    case NikonConv::Focal:
        return Fixed(v, 1, " mm");
    case NikonConv::FocusDistance:
        return Fixed(v, 2, " m");
    case NikonConv::Twelfths:
        return Fixed(v, 2);
    case NikonConv::Iso:
        return NumberText(std::round(v));
    default:
        return NumberText(v);
    }
}

uint32_t FormatSize(NikonFormat format) {
    switch (format) {
    case NikonFormat::U16:
    case NikonFormat::S16:
        return 2;
    case NikonFormat::U32:
        return 4;
    default:
        return 1;
    }
}

double ComponentAt(const unsigned char* p, NikonFormat format, TiffByteOrder order) {
    switch (format) {
    case NikonFormat::S8:
        return static_cast<int8_t>(p[0]);
    case NikonFormat::U16:
        return TiffRead16(p, order);
    case NikonFormat::S16:
        return static_cast<int16_t>(TiffRead16(p, order));
    case NikonFormat::U32:
        return TiffRead32(p, order);
    default:
        return p[0];
    }
}

// One field of a record from its (deciphered) bytes; false when the record
// is too short for it.
bool ListField(const NikonRecord& record, const NikonField& field, const unsigned char* data,
               size_t size, TiffByteOrder order, MakerNoteList& list, NikonState& state) {
    const size_t at = size_t{field.index} * record.unit;
    const bool bytes = field.format == NikonFormat::Text || field.format == NikonFormat::Bytes;
    const size_t length = bytes ? field.count : size_t{field.count} * FormatSize(field.format);
    if (at > size || length > size - at)
        return false;
    static constexpr uint16_t kTypes[] = {kTiffByte, kTiffSByte, kTiffShort,    kTiffSShort,
                                          kTiffLong, kTiffAscii, kTiffUndefined};
    const uint16_t type = kTypes[static_cast<int>(field.format)];
    MetadataEntry* e = list.Add(field.index, field.name, type, field.count);
    if (e == nullptr)
        return false;
    const unsigned char* p = data + at;
    if (field.format == NikonFormat::Text) {
        const void* nul = std::memchr(p, 0, length);
        const size_t used = nul != nullptr ? static_cast<const unsigned char*>(nul) - p : length;
        SetEntryText(*e, Utf8OrLatin1(p, used));
        e->text = Trimmed(e->text);
        if (record.tag == kLensData && field.name == "LensModel")
            state.lensModel = Trimmed(e->value.text);
        if (record.tag == kShotInfo && field.name == "FirmwareVersion")
            state.firmware = Trimmed(e->value.text);
        return true;
    }
    if (field.format == NikonFormat::Bytes) {
        SetEntryText(*e, HexBytes(p, length));
        return true;
    }
    e->value.kind = MetadataValue::Kind::Numbers;
    double raw = ComponentAt(p, field.format, order);
    if (field.mask != 0) {
        int shift = 0;
        while (((field.mask >> shift) & 1) == 0)
            ++shift;
        raw = (p[0] & field.mask) >> shift;
        e->value.numbers.push_back(Converted(field.conv, raw));
    } else {
        for (uint32_t i = 0; i < field.count; ++i)
            e->value.numbers.push_back(Converted(
                field.conv, ComponentAt(p + i * FormatSize(field.format), field.format, order)));
    }
    e->text = field.count == 1 ? ConvertedText(field.conv, e->value.numbers[0]) : RawText(*e);
    const std::optional<int32_t> whole = WholeNumber<int32_t>(raw);
    for (const NikonChoice& choice : field.texts) {
        if (whole && choice.value == *whole) {
            e->text = std::string(choice.text);
            break;
        }
    }
    if (record.tag == kLensData) {
        for (int i = 0; i < 7; ++i) {
            if (field.name == kLensKeyFields[i]) {
                state.lensBytes[i] = static_cast<uint8_t>(raw);
                ++state.lensBytesSeen;
            }
        }
        if (field.name == "LensID")
            state.zLensId = static_cast<uint32_t>(raw);
    }
    return true;
}

// A record's fields; false when its layout is not known or nothing of it
// could be read (the entry is then listed as it is).
bool ListRecord(uint16_t tag, const TiffValue& value, TiffByteOrder noteOrder, MakerNoteList& list,
                NikonState& state) {
    const NikonRecord* record = FindNikonRecord(tag, value.data, value.size);
    if (record == nullptr)
        return false;
    std::vector<unsigned char> bytes(value.data, value.data + value.size);
    size_t readable = bytes.size();
    if (record->decipherFrom != 0 && record->decipherFrom < bytes.size()) {
        if (state.serialKeyText.empty() && state.serialText.empty())
            readable = record->decipherFrom; // no key: the plain head alone
        else if (!state.haveCount)
            readable = record->decipherFrom;
        else {
            const uint32_t key = NikonSerialKey(
                state.serialKeyText.empty() ? state.serialText : state.serialKeyText, {});
            NikonCipher cipher(key, state.shutterCount);
            cipher.Apply(bytes.data() + record->decipherFrom, bytes.size() - record->decipherFrom);
        }
    }
    const TiffByteOrder order = record->order == NikonOrder::Big ? TiffByteOrder::Big
                                : record->order == NikonOrder::Body
                                    ? (state.lensBody ? TiffByteOrder::Big : TiffByteOrder::Little)
                                    : noteOrder;
    int listed = 0;
    for (const NikonField& field : record->fields)
        listed += ListField(*record, field, bytes.data(), readable, order, list, state);
    if (tag == kShotInfo && readable == bytes.size())
        ListNikonCustomSettings(bytes.data(), bytes.size(), list);
    if (tag == kShotInfo && readable == bytes.size() && bytes.size() >= 4) {
        size_t at = 0;
        if (NikonShotInfoShutterCount(bytes.data(), static_cast<uint32_t>(bytes.size()), at) &&
            at <= bytes.size() - 4) {
            if (MetadataEntry* e =
                    list.Add(static_cast<int32_t>(at), "ShutterCount", kTiffLong, 1)) {
                state.shotShutterCount = Be32(bytes.data() + at);
                state.shotCount = true;
                SetEntryNumber(*e, state.shotShutterCount);
                e->text = NumberText(state.shotShutterCount);
                ++listed;
            }
        }
    }
    // A record left enciphered (no key) is listed as a whole as well.
    return listed > 0 && readable == bytes.size();
}

// Nikon's exposure steps as three signed bytes: a * b / c.
bool StepValue(const TiffValue& value, bool isSigned, double& out) {
    if (value.size < 3)
        return false;
    const auto at = [&](size_t i) {
        return isSigned ? double(static_cast<int8_t>(value.data[i])) : double(value.data[i]);
    };
    out = value.data[2] == 0 ? 0 : at(0) * at(1) / at(2);
    return true;
}

std::string LensTypeText(int flags) {
    static constexpr const char* kFlags[] = {"MF", "D", "G", "VR", "1", "FT-1", "E", "AF-P"};
    // G and E lenses carry D's distance chip too: said once. No flag: AF.
    if (flags & 0x44)
        flags &= ~0x02;
    std::string out;
    for (int i = 0; i < 8; ++i) {
        if (flags & (1 << i)) {
            if (!out.empty())
                out += ' ';
            out += kFlags[i];
        }
    }
    return out.empty() ? "AF" : out;
}

std::string LensRangeText(const double lens[4]) {
    std::string out = NumberText(lens[0]);
    if (lens[1] != lens[0])
        out += "-" + NumberText(lens[1]);
    out += "mm f/" + NumberText(lens[2]);
    if (lens[3] != lens[2])
        out += "-" + NumberText(lens[3]);
    return out;
}

// Adjusts a main entry's value and text where Nikon's stored form needs it.
void AdjustMainEntry(uint16_t tag, const TiffValue& value, TiffByteOrder order, MetadataEntry& e) {
    double v = 0;
    switch (tag) {
    case 0x0001: // MakerNoteVersion: "0210", or its digits as bytes (0 2 1 0)
        if (value.size == 4 && value.data[0] < 10) {
            std::string digits;
            for (size_t i = 0; i < 4; ++i)
                digits += static_cast<char>('0' + value.data[i] % 10);
            SetEntryText(e, digits);
        }
        break;
    case 0x000D: // ProgramShift
    case 0x000E: // ExposureDifference
    case 0x0012: // FlashExposureComp
    case 0x0017: // ExternalFlashExposureComp
    case 0x0018: // FlashExposureBracketValue
    case 0x001C: // ExposureTuning
        if (StepValue(value, true, v)) {
            SetEntryNumber(e, v);
            e.text = NumberText(v);
        }
        break;
    case kLensFStops:
        if (StepValue(value, false, v)) {
            SetEntryNumber(e, v);
            e.text = Fixed(v, 2);
        }
        break;
    case kLensType:
        if (value.size >= 1)
            e.text = LensTypeText(value.data[0]);
        break;
    case kPowerUpTime:
        if (value.size >= 7) {
            char text[32];
            std::snprintf(text, sizeof text, "%04u:%02u:%02u %02u:%02u:%02u",
                          static_cast<unsigned>(TiffRead16(value.data, order)), value.data[2],
                          value.data[3], value.data[4], value.data[5], value.data[6]);
            SetEntryText(e, text);
        }
        break;
    default:
        if (e.value.kind == MetadataValue::Kind::Text)
            e.text = Trimmed(e.value.text);
        break;
    }
}

// A directory the note points to (preview image, scanner): listed under
// its own group with standard TIFF names where it has them.
void ListSubDirectory(const MakerNoteFrame& frame, uint64_t offset, const std::string& group,
                      MakerTagName nameOf, MakerNoteList& list) {
    const TiffDirectory directory = frame.DirectoryAt(offset);
    if (!directory.Valid() || directory.DeclaredCount() > 256)
        return;
    MakerNoteList sub(group);
    ListPlainDirectory(frame, directory, nameOf, sub);
    for (const MetadataEntry& entry : sub.Entries()) {
        MetadataEntry* e = list.Add(group, entry.id, {}, entry.type, entry.count);
        if (e == nullptr)
            return;
        e->name = entry.name; // the sub-list's own names go with it
        e->value = entry.value;
        e->text = entry.text;
    }
}

std::string_view PreviewTagName(uint16_t tag) {
    switch (tag) {
    case 0x0103:
        return "Compression";
    case 0x011A:
        return "XResolution";
    case 0x011B:
        return "YResolution";
    case 0x0128:
        return "ResolutionUnit";
    case 0x0201:
        return "PreviewImageStart";
    case 0x0202:
        return "PreviewImageLength";
    case 0x0213:
        return "YCbCrPositioning";
    default:
        return {};
    }
}

// How many of the directory's values the frame puts inside the note; -1
// when the directory is not plausible.
int ValuesInside(const MakerNoteFrame& frame, const TiffDirectory& directory) {
    int inside = 0;
    for (uint32_t i = 0; i < directory.FittingCount(); ++i) {
        const TiffEntry entry = directory.Entry(i);
        if (TiffTypeSize(entry.type) == 0)
            return -1;
        TiffValue value;
        if (!entry.IsInline() && frame.Locate(directory, entry, value) == TiffValueFault::None)
            ++inside;
    }
    return inside;
}

void Learn(const MakerNoteFrame& frame, const TiffDirectory& directory, NikonState& state) {
    for (uint32_t i = 0; i < directory.FittingCount(); ++i) {
        const TiffEntry entry = directory.Entry(i);
        if (entry.tag == kLensData || entry.tag == kShotInfo || entry.tag == kLens)
            state.lensBody = true;
        TiffValue value;
        if (frame.Locate(directory, entry, value) != TiffValueFault::None)
            continue;
        uint32_t number = 0;
        switch (entry.tag) {
        case kSerialNumber:
        case kSerialText: {
            const void* nul = std::memchr(value.data, 0, value.size);
            const size_t used =
                nul != nullptr
                    ? static_cast<size_t>(static_cast<const unsigned char*>(nul) - value.data)
                    : value.size;
            std::string text = Trimmed(Utf8OrLatin1(value.data, used));
            (entry.tag == kSerialNumber ? state.serialKeyText : state.serialText) = text;
            break;
        }
        case kShutterCount:
            if (TiffUnsignedAt(value, 0, number)) {
                state.shutterCount = number;
                state.haveCount = true;
            }
            break;
        case kLensType:
            if (value.size >= 1)
                state.lensType = value.data[0];
            break;
        case kLens:
            for (uint32_t k = 0; k < 4; ++k)
                state.lens[k] = value.Has(k) ? TiffNumberAt(value, k) : 0;
            break;
        default:
            break;
        }
    }
}

void Summarize(const NikonState& state, MakerNoteList& list) {
    std::string lens;
    if (state.zLensId != 0)
        lens = std::string(LensName(LensTable::NikonZ, state.zLensId));
    if (lens.empty() && state.lensBytesSeen >= 7 && state.lensType >= 0) {
        const uint8_t key[8] = {state.lensBytes[0], state.lensBytes[1],
                                state.lensBytes[2], state.lensBytes[3],
                                state.lensBytes[4], state.lensBytes[5],
                                state.lensBytes[6], static_cast<uint8_t>(state.lensType)};
        LensHints hints;
        hints.minFocalMm = state.lens[0];
        hints.maxFocalMm = state.lens[1] != state.lens[0] ? state.lens[1] : 0;
        lens = std::string(LensName(LensTable::Nikon, NikonLensKey(key), hints));
    }
    if (lens.empty())
        lens = state.lensModel;
    if (lens.empty() && state.lens[0] > 0)
        lens = LensRangeText(state.lens);
    list.SetSummary(MakerNoteList::Summary::Lens, lens);
    list.SetSummary(MakerNoteList::Summary::SerialNumber,
                    state.serialKeyText.empty() ? state.serialText : state.serialKeyText);
    if (state.haveCount)
        list.SetSummaryNumber(MakerNoteList::Summary::ShutterCount, state.shutterCount);
    else if (state.shotCount)
        list.SetSummaryNumber(MakerNoteList::Summary::ShutterCount, state.shotShutterCount);
    list.SetSummary(MakerNoteList::Summary::FirmwareVersion, state.firmware);
}

bool ListNote(const MakerNoteFrame& frame, const TiffDirectory& directory, bool named,
              MakerNoteList& list) {
    NikonState state;
    Learn(frame, directory, state);
    const TiffByteOrder order = frame.Note().order;
    const uint32_t count = ListedCount(directory);
    uint32_t listed = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const TiffEntry entry = directory.Entry(i);
        // The lens alone is in the lens data, beside what Learn took above.
        if (list.LensOnly() && entry.tag != kLensData) {
            ++listed;
            continue;
        }
        TiffValue value;
        const TiffValueFault fault = frame.Locate(directory, entry, value);
        if (named && fault == TiffValueFault::None &&
            ListRecord(entry.tag, value, order, list, state)) {
            ++listed;
            continue;
        }
        const std::string_view known = named ? NikonTagName(entry.tag) : std::string_view();
        MetadataEntry* e = list.AddTag(entry.tag, known, entry.type, entry.count);
        if (e == nullptr)
            break;
        ++listed;
        if (FillOrNoteFault(fault, value, entry, *e) && named)
            AdjustMainEntry(entry.tag, value, order, *e);
        uint32_t offset = 0;
        if (named && fault == TiffValueFault::None && TiffUnsignedAt(value, 0, offset)) {
            if (entry.tag == kPreviewIfd)
                ListSubDirectory(frame, offset, "PreviewIFD", PreviewTagName, list);
            else if (entry.tag == kScanIfd)
                ListSubDirectory(frame, offset, "NikonScan", NikonScanTagName, list);
        }
        if (named && fault == TiffValueFault::None && entry.tag == kCaptureData)
            ListNikonCaptureData(value.data, value.size, list);
    }
    if (named)
        Summarize(state, list);
    return listed > 0;
}

bool Plausible(const TiffDirectory& directory) {
    return directory.Valid() && directory.DeclaredCount() > 0 && directory.DeclaredCount() <= 256 &&
           directory.AllEntriesFit();
}

} // namespace

bool ReadNikonNote(const unsigned char* note, size_t size, TiffByteOrder blockOrder,
                   uint64_t storedOffset, MakerNoteList& list) {
    if (note == nullptr)
        return false;
    // Type 3: "Nikon\0", two version bytes, two zero bytes, a TIFF header.
    TiffHeader header;
    if (size > 18 && std::memcmp(note, "Nikon\0", 6) == 0 && note[6] != 1 &&
        ReadTiffHeader(note + 10, size - 10, header) && header.magic == TiffHeader::kMagic) {
        const MakerNoteFrame frame(note + 10, size - 10, header.order, 0);
        const TiffDirectory directory = frame.DirectoryAt(header.firstOffset);
        return Plausible(directory) && ListNote(frame, directory, true, list);
    }
    // Types 1 and 2: a plain directory in the EXIF block's order, its
    // values counted from the TIFF header (or from the note, where software
    // moved it without mending the offsets).
    const bool type1 = size > 8 && std::memcmp(note, "Nikon\0\x01", 7) == 0;
    const size_t at = type1 ? 8 : 0;
    const TiffDirectory directory = MakerNoteFrame(note, size, blockOrder, 0).DirectoryAt(at);
    if (!Plausible(directory))
        return false;
    // Where the note stood when its offsets were written: as the block
    // says, at its own start, or (a block gathered from a raw file) where
    // the lowest value offset puts it, as cameras write values right after
    // the directory and its next link.
    const uint64_t lowest = LowestValueOffset(directory);
    const uint64_t valuesStart = directory.EntriesEnd() + 4;
    const uint64_t inferred =
        lowest != UINT64_MAX && lowest >= valuesStart ? lowest - valuesStart : storedOffset;
    MakerNoteFrame frame(note, size, blockOrder, storedOffset);
    int best = -1;
    for (const uint64_t base : {storedOffset, uint64_t{0}, inferred}) {
        const MakerNoteFrame candidate(note, size, blockOrder, base);
        const int inside = ValuesInside(candidate, directory);
        if (inside < 0)
            return false;
        if (inside > best) {
            best = inside;
            frame = candidate;
        }
    }
    const TiffDirectory framed = frame.DirectoryAt(frame.Base() + at);
    // Type 1 numbers its entries its own way: listed by id alone.
    return ListNote(frame, framed, !type1, list);
}
