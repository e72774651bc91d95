#include "metadata/makernotes/SonyRecords.h"

#include "metadata/makernotes/WholeNumber.h"
#include "metadata/tags/TagText.h"

#include <cmath>
#include <cstdio>
#include <initializer_list>

namespace {

#include "metadata/makernotes/SonyRecordFields.inc"

template <size_t N> constexpr SonyFieldTable Table(const SonyField (&fields)[N]) {
    return {fields, N};
}

bool ModelIn(uint32_t modelId, std::initializer_list<uint16_t> ids) {
    for (const uint16_t id : ids) {
        if (id == modelId)
            return true;
    }
    return false;
}

// Which cameras write which layout of 0x2010 and 0x9050, by SonyModelID.
SonyFieldTable Table2010(uint32_t m) {
    if (ModelIn(m, {294, 295, 296, 297, 298, 299, 300, 302, 303, 305, 307, 310}))
        return Table(kSonyTag2010e);
    if (ModelIn(m, {306, 309, 311, 312, 313, 317, 318, 319, 339, 340, 346, 353}))
        return Table(kSonyTag2010g);
    if (ModelIn(m, {341, 342, 344, 347, 350, 354, 355, 356, 357, 360, 364}))
        return Table(kSonyTag2010h);
    if (ModelIn(m, {358, 362, 363, 365, 366, 367, 369, 371, 372, 374, 375, 376, 378, 379, 381}))
        return Table(kSonyTag2010i);
    return {};
}

SonyFieldTable Table9050(uint32_t m) {
    if (ModelIn(m, {383, 384, 385}))
        return Table(kSonyTag9050c);
    if (ModelIn(m, {347, 350, 354, 357, 358, 360, 362, 363, 371, 375, 376, 378, 379, 381}))
        return Table(kSonyTag9050b);
    if (m >= 256 && m < 383)
        return Table(kSonyTag9050a);
    return {};
}

// 0x9400 says its own layout in its first byte.
SonyFieldTable Table9400(unsigned char first) {
    if (first == 0x07 || first == 0x09 || first == 0x0A)
        return Table(kSonyTag9400a);
    if (first == 0x0C)
        return Table(kSonyTag9400b);
    if (first >= 0x23)
        return Table(kSonyTag9400c);
    return {};
}

bool IsSlt(uint32_t m) {
    return (m >= 280 && m <= 303 &&
            !ModelIn(m, {284, 288, 289, 290, 293, 295, 296, 297, 298, 299, 300, 302})) ||
           ModelIn(m, {319, 353, 354});
}

// The AF record of the translucent-mirror bodies: only the fields their
// 15- and 19-point sensors write (the table also holds later bodies').
constexpr SonyField kSltAfInfo[] = {
    {2, "AFType", SonyFormat::U8, 1},
    {4, "AFStatusActiveSensor", SonyFormat::S16, 1},
    {7, "AFPoint", SonyFormat::U8, 1},
    {8, "AFPointInFocus", SonyFormat::U8, 1},
    {9, "AFPointAtShutterRelease", SonyFormat::U8, 1},
    {10, "AFAreaMode", SonyFormat::U8, 1},
    {381, "AFMicroAdj", SonyFormat::S8, 1},
};

uint32_t UnitOf(SonyFormat f) {
    switch (f) {
    case SonyFormat::U16:
    case SonyFormat::S16:
        return 2;
    case SonyFormat::U32:
    case SonyFormat::S32:
    case SonyFormat::Ratio16:
        return 4;
    case SonyFormat::Ratio32:
        return 8;
    default:
        return 1;
    }
}

uint16_t TiffTypeOf(SonyFormat f) {
    switch (f) {
    case SonyFormat::U8:
        return kTiffByte;
    case SonyFormat::S8:
        return kTiffSByte;
    case SonyFormat::U16:
    case SonyFormat::Ratio16:
        return kTiffShort;
    case SonyFormat::S16:
        return kTiffSShort;
    case SonyFormat::U32:
        return kTiffLong;
    case SonyFormat::S32:
        return kTiffSLong;
    case SonyFormat::Text:
        return kTiffAscii;
    case SonyFormat::Bytes:
        return kTiffUndefined;
    case SonyFormat::Ratio32:
        return kTiffRational;
    }
    return kTiffUndefined;
}

// Sony's own units for exposure, aperture, sensitivity and temperature,
// turned into the plain numbers; false when the field is kept as stored.
bool Convert(std::string_view name, double v, double& out) {
    if (name == "SonyExposureTime" || name == "SonyExposureTime2") {
        out = v == 0 ? 0 : std::pow(2.0, 16 - v / 256);
    } else if (name == "SonyFNumber" || name == "SonyFNumber2" || name == "SonyMaxApertureValue") {
        out = std::pow(2.0, (v / 256 - 16) / 2);
    } else if (name == "SonyMaxAperture" || name == "SonyMinAperture") {
        out = std::pow(2.0, (v / 8 - 1.06) / 2);
    } else if (name == "SonyISO" || name == "BaseISO") {
        out = v == 0 ? 0 : 100 * std::pow(2.0, 16 - v / 256);
    } else if (name == "StopsAboveBaseISO") {
        out = v == 0 ? 0 : 16 - v / 256;
    } else if (name == "BatteryTemperature") {
        out = (v - 32) / 1.8;
    } else if (name == "BrightnessValue") {
        out = v / 256 - 56.6;
    } else if (name == "ExposureCompensation") {
        out = -v / 256;
    } else if (name == "DigitalZoomRatio") {
        out = v / 16;
    } else if (name == "FocalLength" || name == "MinFocalLength" || name == "MaxFocalLength") {
        out = v / 10;
    } else if (name == "SequenceImageNumber" || name == "SequenceFileNumber") {
        out = v + 1; // counted from 0
    } else {
        return false;
    }
    return true;
}

// The shutter's second and third counters lie at one of several places,
// depending on the body. Where the record's own ShutterCount is known, the
// places holding the same count are the counter's; the other places are
// left out (all are kept when none matches).
bool OtherBodysCounter(const unsigned char* data, size_t size, TiffByteOrder order,
                       SonyFieldTable table, const SonyField& field) {
    if (field.name != "ShutterCount2" && field.name != "ShutterCount3")
        return false;
    uint32_t count = 0;
    bool found = false;
    int places = 0, matching = 0;
    for (size_t i = 0; i < table.size; ++i) {
        const SonyField& f = table.fields[i];
        const bool counter = f.name == field.name;
        if ((f.name != "ShutterCount" && !counter) || f.format != SonyFormat::U32 ||
            f.index > size || size - f.index < 4)
            continue;
        const uint32_t v = TiffRead32(data + f.index, order);
        if (f.name == "ShutterCount" && !found) {
            count = v;
            found = true;
        } else if (counter) {
            ++places;
            matching += found && v == count;
        }
    }
    return found && places > 1 && matching > 0 && TiffRead32(data + field.index, order) != count;
}

void SetNumber(MetadataEntry& e, double v) {
    SetEntryNumber(e, v);
    e.text = RawText(e);
}

} // namespace

SonyFieldTable SonyRecordFields(SonyRecordKind kind, uint32_t modelId, unsigned char first) {
    switch (kind) {
    case SonyRecordKind::ShotInfo:
        return Table(kSonyShotInfo);
    case SonyRecordKind::FocalPlaneAF:
        return Table(kSonyTag202a);
    case SonyRecordKind::R2010:
        return Table2010(modelId);
    case SonyRecordKind::R9050:
        return Table9050(modelId);
    case SonyRecordKind::R9400:
        return Table9400(first);
    case SonyRecordKind::R9402:
        return Table(kSonyTag9402);
    case SonyRecordKind::R9403:
        return Table(kSonyTag9403);
    case SonyRecordKind::R9404:
        // `first`: 0x9400's first byte, which tells the generation.
        return first < 0x23 ? Table(kSonyTag9404b) : Table(kSonyTag9404c);
    case SonyRecordKind::R9405:
        return IsSlt(modelId) || modelId < 306 ? Table(kSonyTag9405a) : Table(kSonyTag9405b);
    case SonyRecordKind::R9406:
        return Table(kSonyTag9406);
    case SonyRecordKind::R940C:
        return Table(kSonyTag940c);
    case SonyRecordKind::R940E:
        return IsSlt(modelId) ? Table(kSltAfInfo) : Table(kSonyTag940e);
    case SonyRecordKind::R9416:
        return Table(kSonyTag9416);
    case SonyRecordKind::AFStatus15:
        return Table(kSonyAFStatus15);
    case SonyRecordKind::AFStatus19:
        return Table(kSonyAFStatus19);
    }
    return {};
}

uint32_t ListSonyRecord(const unsigned char* data, size_t size, TiffByteOrder order,
                        SonyFieldTable table, MakerNoteList& list, SonyRecordFacts& facts) {
    uint32_t listed = 0;
    for (size_t i = 0; i < table.size; ++i) {
        const SonyField& f = table.fields[i];
        const uint64_t length = uint64_t{UnitOf(f.format)} * f.count;
        if (f.index > size || length > size - f.index)
            continue; // a shorter record than this layout's: the field is not there
        if (f.format == SonyFormat::U32 && OtherBodysCounter(data, size, order, table, f))
            continue;
        const unsigned char* p = data + f.index;
        MetadataEntry* e = list.Add(f.index, f.name, TiffTypeOf(f.format), f.count);
        if (e == nullptr)
            break;
        ++listed;
        if (f.format == SonyFormat::Ratio16) {
            const double den = TiffRead16(p + 2, order);
            SetNumber(*e, den == 0 ? 0 : TiffRead16(p, order) / den);
            continue;
        }
        if (f.name == "SonyTimeMinSec" && f.count == 2) {
            char text[8];
            std::snprintf(text, sizeof text, "%u:%02u", p[0] % 60u, p[1] % 60u);
            e->value.kind = MetadataValue::Kind::Text;
            e->value.text = text;
            e->text = text;
            continue;
        }
        if (f.name == "LensSpecFeatures" && f.count == 2) {
            char text[8];
            std::snprintf(text, sizeof text, "%02x %02x", p[0], p[1]);
            e->value.kind = MetadataValue::Kind::Text;
            e->value.text = text;
            e->text = text;
            continue;
        }
        const TiffValue value{p, static_cast<size_t>(length), TiffTypeOf(f.format), order};
        FillFromValue(value, f.count, *e);
        if (f.count != 1 || f.format == SonyFormat::Text || f.format == SonyFormat::Bytes)
            continue;
        const double raw = TiffNumberAt(value, 0);
        double converted;
        if (Convert(f.name, raw, converted))
            SetNumber(*e, converted);
        // A signed field's negative number is no count or lens number.
        const uint32_t whole = WholeNumber<uint32_t>(raw).value_or(0);
        if (f.name == "ShutterCount" && !facts.hasShutterCount) {
            facts.shutterCount = whole;
            facts.hasShutterCount = true;
        } else if (f.name == "LensType2" && facts.lensType2 == 0) {
            facts.lensType2 = whole;
        } else if (f.name == "LensType" && facts.lensType == 0) {
            facts.lensType = whole;
        } else if (f.name == "FocalLength" && facts.focalLength == 0) {
            facts.focalLength = raw / 10;
        } else if (f.name == "MinFocalLength" && facts.minFocal == 0) {
            facts.minFocal = raw / 10;
        } else if (f.name == "MaxFocalLength" && facts.maxFocal == 0) {
            facts.maxFocal = raw / 10;
        }
    }
    return listed;
}
