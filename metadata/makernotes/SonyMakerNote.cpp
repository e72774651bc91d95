#include "metadata/makernotes/SonyMakerNote.h"

#include "metadata/makernotes/LensChoice.h"
#include "metadata/makernotes/SonyCipher.h"
#include "metadata/makernotes/SonyRecords.h"
#include "metadata/makernotes/SonyTagNames.h"
#include "metadata/makernotes/ValueTextRow.h"
#include "metadata/makernotes/WholeNumber.h"
#include "metadata/tags/TagText.h"
#include "metadata/tiff/TiffHeader.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace {

#include "metadata/makernotes/SonyValueTexts.inc"

// The largest record deciphered: 0x9416 and 0x2010 hold a few kilobytes.
constexpr size_t kMaxRecord = 64 * 1024;
// The A-mount lens's number; E-mount lenses write 65535 there.
constexpr uint16_t kLensType = 0xB027;

TiffByteOrder OtherOrder(TiffByteOrder order) {
    return order == TiffByteOrder::Big ? TiffByteOrder::Little : TiffByteOrder::Big;
}

bool Plausible(const TiffDirectory& d) {
    if (!d.Valid() || d.DeclaredCount() == 0 || d.DeclaredCount() > 256 || !d.AllEntriesFit())
        return false;
    for (uint32_t i = 0; i < d.FittingCount(); ++i) {
        if (TiffTypeSize(d.Entry(i).type) == 0)
            return false;
    }
    return true;
}

int ValuesInside(const MakerNoteFrame& frame, const TiffDirectory& d) {
    int inside = 0;
    for (uint32_t i = 0; i < d.FittingCount(); ++i) {
        const TiffEntry e = d.Entry(i);
        TiffValue v;
        if (!e.IsInline() && frame.Locate(d, e, v) == TiffValueFault::None)
            ++inside;
    }
    return inside;
}

// BCD as Sony writes LensSpec's focal lengths and apertures.
unsigned Bcd(unsigned char b) {
    return (b >> 4) * 10u + (b & 0x0Fu);
}

// LensSpec (0xB02A): a flag byte, the shortest and longest focal lengths
// and the widest apertures at both in BCD, another flag byte; written
// "flags short long aperture aperture flags".
std::string LensSpecText(const unsigned char* p) {
    char text[64];
    std::snprintf(text, sizeof text, "%02x %u %u %g %g %02x", p[0], Bcd(p[1]) * 100 + Bcd(p[2]),
                  Bcd(p[3]) * 100 + Bcd(p[4]), Bcd(p[5]) / 10.0, Bcd(p[6]) / 10.0, p[7]);
    return text;
}

// The focal range a lens name gives ("11-16mm", "20mm"); false without one.
bool NamedRange(std::string_view name, double& low, double& high) {
    const size_t mm = name.find("mm");
    if (mm == std::string_view::npos || mm == 0)
        return false;
    size_t start = mm;
    while (start > 0 && (std::isdigit(static_cast<unsigned char>(name[start - 1])) ||
                         name[start - 1] == '-' || name[start - 1] == '.'))
        --start;
    const std::string range(name.substr(start, mm - start));
    char* end = nullptr;
    low = std::strtod(range.c_str(), &end);
    high = *end == '-' ? std::strtod(end + 1, nullptr) : low;
    return low > 0 && high >= low;
}

// The lens for an A-mount number: the candidate whose focal range holds
// the focal length used, when the name listed for the number does not
// (third-party lenses report the number of a Minolta/Sony lens).
std::string AMountLens(uint32_t lensType, const SonyRecordFacts& facts) {
    const LensCandidates candidates = FindLenses(LensTable::Minolta, lensType);
    LensHints hints;
    hints.minFocalMm = facts.minFocal;
    hints.maxFocalMm = facts.maxFocal > facts.minFocal ? facts.maxFocal : 0;
    std::string_view chosen = ChooseLens(candidates, hints);
    double low, high;
    if (facts.focalLength > 0 && !candidates.empty() && NamedRange(chosen, low, high) &&
        (facts.focalLength < low - 0.5 || facts.focalLength > high + 0.5)) {
        for (const LensRow& row : candidates) {
            if (NamedRange(row.name, low, high) && facts.focalLength >= low - 0.5 &&
                facts.focalLength <= high + 0.5) {
                chosen = row.name;
                break;
            }
        }
    }
    return std::string(chosen);
}

struct NoteState {
    uint32_t modelId = 0;
    unsigned char first9400 = 0;
    uint32_t lensType = 0; // 0xB027
    bool hasLensType = false;
    std::string serial;
    SonyRecordFacts facts;
};

// Which record an entry holds, if any.
bool RecordKindOf(uint16_t tag, SonyRecordKind& kind, bool& enciphered) {
    enciphered = true;
    switch (tag) {
    case 0x3000:
        kind = SonyRecordKind::ShotInfo;
        enciphered = false;
        return true;
    case 0x202A:
        kind = SonyRecordKind::FocalPlaneAF;
        enciphered = false;
        return true;
    case 0x2010:
        kind = SonyRecordKind::R2010;
        return true;
    case 0x9050:
        kind = SonyRecordKind::R9050;
        return true;
    case 0x9400:
        kind = SonyRecordKind::R9400;
        return true;
    case 0x9402:
        kind = SonyRecordKind::R9402;
        return true;
    case 0x9403:
        kind = SonyRecordKind::R9403;
        return true;
    case 0x9404:
        kind = SonyRecordKind::R9404;
        return true;
    case 0x9405:
        kind = SonyRecordKind::R9405;
        return true;
    case 0x9406:
        kind = SonyRecordKind::R9406;
        return true;
    case 0x940C:
        kind = SonyRecordKind::R940C;
        return true;
    case 0x940E:
        kind = SonyRecordKind::R940E;
        return true;
    case 0x9416:
        kind = SonyRecordKind::R9416;
        return true;
    default:
        return false;
    }
}

void ListRecord(uint16_t tag, const TiffValue& value, NoteState& state, MakerNoteList& list,
                std::vector<unsigned char>& buffer) {
    SonyRecordKind kind;
    bool enciphered;
    if (!RecordKindOf(tag, kind, enciphered) || value.size == 0 || value.size > kMaxRecord)
        return;
    buffer.assign(value.data, value.data + value.size);
    // A layout is told by the record's first byte as stored.
    unsigned char first = buffer[0];
    if (kind == SonyRecordKind::R9404)
        first = state.first9400;
    if (enciphered)
        SonyDecipher(buffer.data(), buffer.size(), buffer.data());
    TiffByteOrder order = value.order;
    if (kind == SonyRecordKind::ShotInfo && buffer.size() >= 2) {
        // ShotInfo starts with its own byte-order mark; phones leave it
        // blank (and the record empty), the note's order stands then.
        TiffByteOrder own;
        if (ReadTiffByteOrder(buffer.data(), 2, own))
            order = own;
    }
    const SonyFieldTable table = SonyRecordFields(kind, state.modelId, first);
    ListSonyRecord(buffer.data(), buffer.size(), order, table, list, state.facts);
    // The AF record of the translucent-mirror bodies holds the status of
    // each AF point at byte 17, in the layout of its sensor.
    if (kind == SonyRecordKind::R940E && table.fields != nullptr && buffer.size() > 17 &&
        table.fields[0].name == "AFType" && (buffer[2] == 1 || buffer[2] == 2)) {
        const SonyRecordKind points =
            buffer[2] == 1 ? SonyRecordKind::AFStatus15 : SonyRecordKind::AFStatus19;
        ListSonyRecord(buffer.data() + 17, buffer.size() - 17, order,
                       SonyRecordFields(points, state.modelId, 0), list, state.facts);
    }
}

} // namespace

size_t SonyDirectoryAt(const unsigned char* note, size_t size) {
    for (const char* header : {"SONY DSC ", "SONY CAM ", "SONY MOBILE"}) {
        const size_t n = std::strlen(header);
        if (size >= 12 + 2 && std::memcmp(note, header, n) == 0)
            return 12;
    }
    return 0;
}

bool ReadSonyNote(const unsigned char* note, size_t size, TiffByteOrder order,
                  uint64_t storedOffset, MakerNoteList& list) {
    const size_t at = SonyDirectoryAt(note, size);
    TiffDirectory directory(TiffSpan{note, size, 0, order}, at);
    if (!Plausible(directory)) {
        order = OtherOrder(order);
        directory = TiffDirectory(TiffSpan{note, size, 0, order}, at);
        if (!Plausible(directory))
            return false;
    }
    // Offsets count from the TIFF header; a note moved by software keeps
    // them counting from where it stood, which the values then tell.
    const MakerNoteFrame fromHeader(note, size, order, storedOffset);
    const MakerNoteFrame fromNote(note, size, order, 0);
    const MakerNoteFrame& frame =
        ValuesInside(fromNote, directory) > ValuesInside(fromHeader, directory) ? fromNote
                                                                                : fromHeader;

    NoteState state;
    TiffEntry found;
    TiffValue value;
    if (directory.Find(0xB001, found) &&
        frame.Locate(directory, found, value) == TiffValueFault::None)
        state.modelId = WholeNumber<uint32_t>(TiffNumberAt(value, 0)).value_or(0);
    if (directory.Find(0x9400, found) &&
        frame.Locate(directory, found, value) == TiffValueFault::None && value.size > 0) {
        state.first9400 = value.data[0]; // its layout is told by the byte as stored
    }

    const uint32_t count = ListedCount(directory);
    std::vector<TiffEntry> records;
    for (uint32_t i = 0; i < count; ++i) {
        const TiffEntry entry = directory.Entry(i);
        SonyRecordKind kind;
        bool enciphered;
        const bool record = RecordKindOf(entry.tag, kind, enciphered);
        // The lens alone is LensType's and the records' (read below).
        if (list.LensOnly() && entry.tag != kLensType) {
            if (record)
                records.push_back(entry);
            continue;
        }
        const std::string_view known = SonyTagName(entry.tag);
        MetadataEntry* e = list.AddTag(entry.tag, known, entry.type, entry.count);
        if (e == nullptr)
            break;
        if (!FillOrNoteFault(frame.Locate(directory, entry, value), value, entry, *e))
            continue;
        if (entry.count == 1 && e->value.IsSingleNumber()) {
            // An enumerated entry's number named (SonyModelID 360: "ILCE-6500").
            const std::string_view text =
                FindValueText(kSonyValueTexts, 0, entry.tag,
                              WholeNumber<int64_t>(e->value.numbers[0]).value_or(-1));
            if (!text.empty())
                e->text = std::string(text);
        }
        // The first number as a whole one, when it is one.
        const std::optional<uint32_t> first =
            value.Has(0) ? WholeNumber<uint32_t>(TiffNumberAt(value, 0)) : std::nullopt;
        if (entry.tag == 0xB02A && value.size >= 8) {
            e->value = {};
            e->value.kind = MetadataValue::Kind::Text;
            e->value.text = LensSpecText(value.data);
            e->text = e->value.text;
        } else if ((entry.tag == 0xB02B || entry.tag == 0xB02C) && e->value.numbers.size() == 2) {
            // Written height first; shown width first as everywhere else.
            std::swap(e->value.numbers[0], e->value.numbers[1]);
            e->text = RawText(*e);
        } else if (entry.tag == 0x200A && entry.count == 1 && first) {
            // HDR: the setting in the low half, the result in the high.
            const uint32_t v = *first;
            e->value.numbers.clear();
            e->value.numbers.push_back(v & 0xFFFF);
            e->value.numbers.push_back(v >> 16);
            e->text = RawText(*e);
        } else if (entry.tag == 0x2037 && entry.count == 6 && value.size >= 6) {
            // FocusFrameSize: three SHORTs written as UNDEFINED.
            e->value = {};
            e->value.kind = MetadataValue::Kind::Numbers;
            for (int k = 0; k < 3; ++k)
                e->value.numbers.push_back(TiffRead16(value.data + 2 * k, order));
            e->text = RawText(*e);
        } else if (entry.tag == kLensType && first) {
            state.lensType = *first;
            state.hasLensType = true;
        } else if (entry.tag == 0x2031 && e->value.kind == MetadataValue::Kind::Text) {
            state.serial = e->value.text;
        }
        if (record)
            records.push_back(entry);
    }
    std::vector<unsigned char> buffer;
    for (const TiffEntry& entry : records) {
        if (frame.Locate(directory, entry, value) == TiffValueFault::None)
            ListRecord(entry.tag, value, state, list, buffer);
    }

    // The lens: A-mount lenses by LensType; E-mount lenses (and A-mount
    // lenses on an adapter) report 65535 there and their number in
    // LensType2.
    std::string lens;
    const uint32_t aMount = state.hasLensType ? state.lensType : state.facts.lensType;
    if (aMount != 0 && aMount != 0xFFFF && aMount != 0xFFFFFFFF)
        lens = AMountLens(aMount, state.facts);
    if (lens.empty() && state.facts.lensType2 != 0) {
        LensHints hints;
        hints.minFocalMm = state.facts.minFocal;
        hints.maxFocalMm = state.facts.maxFocal > state.facts.minFocal ? state.facts.maxFocal : 0;
        lens = std::string(LensName(LensTable::Sony, state.facts.lensType2, hints));
    }
    list.SetSummary(MakerNoteList::Summary::Lens, lens);
    list.SetSummary(MakerNoteList::Summary::SerialNumber, state.serial);
    if (state.facts.hasShutterCount)
        list.SetSummaryNumber(MakerNoteList::Summary::ShutterCount, state.facts.shutterCount);
    return list.Size() > 0;
}
