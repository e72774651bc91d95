#include "metadata/makernotes/LensNames.h"

#include <array>
#include <gtest/gtest.h>
#include <string_view>

namespace {

struct KnownLens {
    LensTable table;
    uint64_t key;
    std::string_view name;
};

// One lens per table, by the number its camera writes (several seen in real files).
constexpr uint8_t kNikon1870[8] = {0x7F, 0x40, 0x2D, 0x5C, 0x2C, 0x34, 0x84, 0x06};
constexpr uint8_t kNikon1735[8] = {0x63, 0x48, 0x2B, 0x44, 0x24, 0x24, 0x68, 0x02};

const KnownLens kKnownLenses[] = {
    {LensTable::Canon, 52, "Canon EF-S 18-55mm f/3.5-5.6 IS II"},
    {LensTable::Canon, 4153, "Canon EF-M 15-45mm f/3.5-6.3 IS STM"},
    {LensTable::Canon, 61182, "Canon RF 50mm F1.2L USM or other Canon RF Lens"},
    {LensTable::CanonRf, 258, "Canon RF 24-105mm F4L IS USM"},
    {LensTable::Nikon, NikonLensKey(kNikon1870), "AF-S DX Zoom-Nikkor 18-70mm f/3.5-4.5G IF-ED"},
    {LensTable::Nikon, NikonLensKey(kNikon1735), "AF-S Nikkor 17-35mm f/2.8D IF-ED"},
    {LensTable::NikonZ, 1, "Nikkor Z 24-70mm f/4 S"},
    {LensTable::Minolta, 2, "Minolta AF 28-70mm F2.8 G"},
    {LensTable::Sony, 2, "Sony LA-EA2 Adapter"},
    {LensTable::Pentax, PentaxLensKey(3, 17), "smc PENTAX-FA SOFT 85mm F2.8"},
    {LensTable::Olympus, OlympusLensKey(0, 0x23, 0), "Olympus Zuiko Digital ED 14-42mm F3.5-5.6"},
    {LensTable::Samsung, 1, "Samsung NX 30mm F2 Pancake"},
};

TEST(LensNames, KnownNumbersNameTheirLens) {
    for (const KnownLens& lens : kKnownLenses) {
        const LensCandidates found = FindLenses(lens.table, lens.key);
        ASSERT_FALSE(found.empty()) << lens.name;
        EXPECT_EQ(found.front().variant, 0) << lens.name;
        EXPECT_EQ(found.front().name, lens.name);
    }
}

// Numbers the tables do not list, and entries naming no lens ("n/a", "None"),
// which the tables leave out so that nothing found means no name.
TEST(LensNames, UnlistedNumbersFindNothing) {
    const KnownLens unlisted[] = {
        {LensTable::Canon, 12, ""},
        {LensTable::Canon, 65535, ""},
        {LensTable::Canon, 0x1'0000, ""},
        {LensTable::CanonRf, 0, ""},
        {LensTable::Nikon, 0, ""},
        {LensTable::Nikon, ~uint64_t{0}, ""},
        {LensTable::Olympus, OlympusLensKey(0, 0, 0), ""},
        {LensTable::Pentax, PentaxLensKey(255, 255), ""},
        {LensTable::Samsung, 16, ""},
    };
    for (const KnownLens& lens : unlisted)
        EXPECT_TRUE(FindLenses(lens.table, lens.key).empty()) << lens.key;
}

TEST(LensNames, SharedNumbersListEveryLensInOrder) {
    const LensCandidates found = FindLenses(LensTable::Pentax, PentaxLensKey(3, 23));
    ASSERT_EQ(found.size(), 4u);
    for (size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i].key, PentaxLensKey(3, 23));
        EXPECT_EQ(found[i].variant, i);
    }
    EXPECT_EQ(found[0].name, "smc PENTAX-F 100-300mm F4.5-5.6 or Sigma Lens");
    EXPECT_EQ(found[3].name, "Tokina 80-200mm F2.8 ATX-Pro");
    // The neighbouring number's lens stays its own.
    EXPECT_EQ(FindLenses(LensTable::Pentax, PentaxLensKey(3, 22)).size(), 1u);
}

} // namespace
