#include "metadata/makernotes/LensChoice.h"

#include <gtest/gtest.h>
#include <string_view>

namespace {

struct Choice {
    LensTable table;
    uint64_t key;
    LensHints hints;
    std::string_view chosen;
};

const Choice kChoices[] = {
    // Without hints, and with hints no lens fits: the name listed for the number.
    {LensTable::Canon, 2, {}, "Canon EF 28mm f/2.8 or Sigma Lens"},
    {LensTable::Canon, 137, {300, 0, 4}, "Canon EF 85mm f/1.2L USM or Sigma or Tamron Lens"},
    // The focal range decides.
    {LensTable::Canon, 2, {24, 0, 2.8}, "Sigma 24mm f/2.8 Super Wide II"},
    {LensTable::Canon, 2, {28, 0, 0}, "Canon EF 28mm f/2.8"},
    {LensTable::Canon, 47, {35, 0, 2}, "Zeiss Milvus 35mm f/2"},
    {LensTable::Canon, 47, {50, 0, 2}, "Zeiss Milvus 50mm f/2 Makro"},
    {LensTable::Canon, 103, {14, 0, 2.4}, "Rokinon SP 14mm f/2.4"},
    {LensTable::Canon, 137, {24, 70, 2.8}, "Sigma 24-70mm f/2.8 IF EX DG HSM"},
    {LensTable::Canon, 137, {60, 0, 2}, "Tamron SP 60mm f/2 Macro Di II (G005)"},
    // Reported focal lengths are exact where names round them.
    {LensTable::Canon, 137, {17.3, 50.5, 2.8}, "Sigma 17-50mm f/2.8 OS HSM"},
    // The same focal range: the aperture at the focal length used decides.
    {LensTable::Pentax,
     PentaxLensKey(3, 23),
     {28, 300, 6.3},
     "Sigma AF 28-300mm F3.5-6.3 DG IF Macro"},
    {LensTable::Pentax, PentaxLensKey(3, 23), {28, 300, 4}, "Sigma AF 28-300mm F3.5-5.6 DL IF"},
    {LensTable::Canon, 137, {18, 50, 4.5}, "Sigma 18-50mm f/2.8-4.5 DC OS HSM"},
    // An extender multiplies focal length and aperture.
    {LensTable::Canon, 181, {210, 840, 9}, "Sigma 150-600mm f/5-6.3 DG OS HSM | S + 1.4x"},
    {LensTable::Canon, 181, {140, 560, 6.3}, "Canon EF 100-400mm f/4.5-5.6L IS USM + 1.4x"},
    // Sony E-mount 0 is "unknown lens" unless a lens's range says which.
    {LensTable::Sony, 0, {19, 0, 2.8}, "Sigma 19mm F2.8 [EX] DN"},
    {LensTable::Sony, 0, {}, "Unknown E-mount lens or other lens"},
    // Nothing listed: nothing chosen.
    {LensTable::Canon, 12, {50, 0, 1.8}, ""},
};

TEST(LensChoice, ChoosesAmongLensesSharingANumber) {
    for (const Choice& choice : kChoices)
        EXPECT_EQ(LensName(choice.table, choice.key, choice.hints), choice.chosen)
            << "key " << choice.key << " focal " << choice.hints.minFocalMm << "-"
            << choice.hints.maxFocalMm << " f/" << choice.hints.maxAperture;
}

// Names the reading of focal range and aperture must not trip over.
TEST(LensChoice, OddNamesAreReadSafely) {
    const LensRow rows[] = {
        {1, 0, ""},
        {1, 1, "mm f/ + x"},
        {1, 2, "Arax MC 35mm F2.8 Tilt+Shift"},
        {1, 3, "AF-S Nikkor 300mm f/2.8D IF-ED + TC-14E"},
        {1, 4, "Lens 12.5-"},
    };
    EXPECT_EQ(ChooseLens(rows, {35, 0, 2.8}), "Arax MC 35mm F2.8 Tilt+Shift");
    EXPECT_EQ(ChooseLens(rows, {300, 0, 2.8}), "AF-S Nikkor 300mm f/2.8D IF-ED + TC-14E");
    EXPECT_EQ(ChooseLens(rows, {12.5, 0, 0}), "");
    EXPECT_EQ(ChooseLens({}, {35, 0, 2.8}), "");
}

} // namespace
