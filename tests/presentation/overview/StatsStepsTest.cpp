// Values put on the steps photographers count in, and cameras named as
// people write them.
#include "presentation/CameraName.h"
#include "presentation/overview/StatsStops.h"

#include <gtest/gtest.h>

namespace {

void ExpectSteps(int (*step)(double), std::string (*label)(int),
                 std::initializer_list<std::pair<double, const char*>> cases) {
    for (const auto& [value, shown] : cases)
        EXPECT_EQ(label(step(value)), shown) << value;
}

// More of the marks are in PhotoStatsTest's collection.
TEST(StatsSteps, ValuesOnTheNearestStep) {
    // Focal marks part at their geometric means: 35 and 50 at 41.83.
    ExpectSteps(FocalStep, FocalStepLabel,
                {{1, "4 mm"},
                 {25.9, "24 mm"},
                 {26, "28 mm"},
                 {41.8, "35 mm"},
                 {41.9, "50 mm"},
                 {116, "100 mm"},
                 {117, "135 mm"},
                 {3000, "800 mm"}});
    ExpectSteps(ApertureStep, ApertureStepLabel,
                {{0.95, "f/1"},
                 {3.3, "f/3.2"},
                 {6.3, "f/6.3"},
                 {7.1, "f/7.1"},
                 {13, "f/13"},
                 {29, "f/29"},
                 {0.5, "f/0.5"}});
    ExpectSteps(
        ExposureStep, ExposureStepLabel,
        {{1.0 / 8000, "1/8000 s"}, {1.0 / 160, "1/125 s"}, {50, "60 s"}, {1e-6, "1/1048576 s"}});
}

TEST(CameraName, MakeAndModelAsPeopleWriteThem) {
    const char* const cases[][3] = {
        {"Canon", "Canon EOS 40D", "Canon EOS 40D"},
        {"NIKON CORPORATION", "NIKON D70s", "NIKON D70s"},
        {"OLYMPUS IMAGING CORP.  ", "E-M5", "OLYMPUS E-M5"},
        {"CASIO COMPUTER CO.,LTD.", "EX-S1", "CASIO EX-S1"},
        {"EASTMAN KODAK COMPANY", "KODAK Z740 ZOOM", "KODAK Z740 ZOOM"},
        {"Canonical", "Canon X", "Canonical Canon X"}, // a word, not a prefix
        {"", " iPhone ", "iPhone"},
        {"Leica Camera AG", "", "Leica"},
        {" ", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CameraName(c[0], c[1]), c[2]) << c[0] << " / " << c[1];
}

} // namespace
