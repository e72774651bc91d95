#include "metadata/makernotes/LensNames.h"

#include <algorithm>

namespace {

// The generated rows, sorted by key and variant (checked below at compile time).
constexpr LensRow kCanon[] = {
#include "metadata/makernotes/lenses/CanonLenses.inc"
};
constexpr LensRow kCanonRf[] = {
#include "metadata/makernotes/lenses/CanonRfLenses.inc"
};
constexpr LensRow kNikon[] = {
#include "metadata/makernotes/lenses/NikonLenses.inc"
};
constexpr LensRow kNikonZ[] = {
#include "metadata/makernotes/lenses/NikonZLenses.inc"
};
constexpr LensRow kMinolta[] = {
#include "metadata/makernotes/lenses/MinoltaLenses.inc"
};
constexpr LensRow kSony[] = {
#include "metadata/makernotes/lenses/SonyLenses.inc"
};
constexpr LensRow kPentax[] = {
#include "metadata/makernotes/lenses/PentaxLenses.inc"
};
constexpr LensRow kOlympus[] = {
#include "metadata/makernotes/lenses/OlympusLenses.inc"
};
constexpr LensRow kSamsung[] = {
#include "metadata/makernotes/lenses/SamsungLenses.inc"
};

// Strictly ascending (key, variant): binary search finds every variant of a key together.
constexpr bool Ascending(LensCandidates rows) {
    return std::adjacent_find(rows.begin(), rows.end(), [](const LensRow& a, const LensRow& b) {
               return a.key > b.key || (a.key == b.key && a.variant >= b.variant);
           }) == rows.end();
}

static_assert(Ascending(kCanon) && Ascending(kCanonRf) && Ascending(kNikon) && Ascending(kNikonZ) &&
              Ascending(kMinolta) && Ascending(kSony) && Ascending(kPentax) &&
              Ascending(kOlympus) && Ascending(kSamsung));

LensCandidates Rows(LensTable table) {
    switch (table) {
    case LensTable::Canon:
        return kCanon;
    case LensTable::CanonRf:
        return kCanonRf;
    case LensTable::Nikon:
        return kNikon;
    case LensTable::NikonZ:
        return kNikonZ;
    case LensTable::Minolta:
        return kMinolta;
    case LensTable::Sony:
        return kSony;
    case LensTable::Pentax:
        return kPentax;
    case LensTable::Olympus:
        return kOlympus;
    case LensTable::Samsung:
        return kSamsung;
    }
    return {};
}

} // namespace

LensCandidates FindLenses(LensTable table, uint64_t key) {
    const LensCandidates rows = Rows(table);
    struct ByKey {
        bool operator()(const LensRow& row, uint64_t key) const { return row.key < key; }
        bool operator()(uint64_t key, const LensRow& row) const { return key < row.key; }
    };
    const auto [first, last] = std::equal_range(rows.begin(), rows.end(), key, ByKey{});
    return LensCandidates(first, last);
}
