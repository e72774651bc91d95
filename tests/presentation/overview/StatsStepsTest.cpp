// Values put on the steps photographers count in, and cameras named as
// people write them.
#include "presentation/CameraName.h"
#include "presentation/overview/StatsStops.h"

#include <gtest/gtest.h>

namespace {

struct StepCase {
    double value;
    const char* label;
};

template <size_t N>
void ExpectSteps(const StepCase (&cases)[N], int (*step)(double), std::string (*label)(int)) {
    for (const StepCase& c : cases)
        EXPECT_EQ(label(step(c.value)), c.label) << c.value;
}

TEST(StatsSteps, FocalLengthsOnTheNearestMark) {
    const StepCase cases[] = {
        {1, "4 mm"},     {4.2, "4 mm"},   {23, "24 mm"},   {25.9, "24 mm"},
        {26, "28 mm"},   {41.8, "35 mm"}, {41.9, "50 mm"}, {55, "50 mm"},
        {105, "100 mm"}, {116, "100 mm"}, {117, "135 mm"}, {3000, "800 mm"},
    };
    ExpectSteps(cases, FocalStep, FocalStepLabel);
}

TEST(StatsSteps, AperturesInThirdsOfAStop) {
    const StepCase cases[] = {
        {0.95, "f/1"},  {1.4, "f/1.4"}, {1.8, "f/1.8"}, {2, "f/2"},     {2.8, "f/2.8"},
        {3.3, "f/3.2"}, {3.5, "f/3.5"}, {4.5, "f/4.5"}, {6.3, "f/6.3"}, {7.1, "f/7.1"},
        {11, "f/11"},   {13, "f/13"},   {22, "f/22"},   {29, "f/29"},   {0.5, "f/0.5"},
    };
    ExpectSteps(cases, ApertureStep, ApertureStepLabel);
}

TEST(StatsSteps, IsoInFullStops) {
    const StepCase cases[] = {
        {32, "ISO 25"},   {64, "ISO 50"},   {80, "ISO 100"},    {100, "ISO 100"},
        {320, "ISO 400"}, {500, "ISO 400"}, {1250, "ISO 1600"}, {102400, "ISO 102400"},
    };
    ExpectSteps(cases, IsoStep, IsoStepLabel);
}

TEST(StatsSteps, ExposureTimesInFullStops) {
    const StepCase cases[] = {
        {1.0 / 8000, "1/8000 s"},
        {1.0 / 320, "1/250 s"},
        {1.0 / 200, "1/250 s"},
        {1.0 / 160, "1/125 s"},
        {1.0 / 60, "1/60 s"},
        {1.0 / 15, "1/15 s"},
        {0.6, "1/2 s"},
        {1, "1 s"},
        {25, "30 s"},
        {3600, "4096 s"},
        {1e-6, "1/1048576 s"},
    };
    ExpectSteps(cases, ExposureStep, ExposureStepLabel);
}

TEST(CameraName, MakeAndModelAsPeopleWriteThem) {
    struct Case {
        const char* make;
        const char* model;
        const char* name;
    };
    const Case cases[] = {
        {"Canon", "Canon EOS 40D", "Canon EOS 40D"},
        {"NIKON CORPORATION", "NIKON D70s", "NIKON D70s"},
        {"OLYMPUS IMAGING CORP.  ", "E-M5", "OLYMPUS E-M5"},
        {"Minolta Co., Ltd.", "DiMAGE 7", "Minolta DiMAGE 7"},
        {"CASIO COMPUTER CO.,LTD.", "EX-S1", "CASIO EX-S1"},
        {"JK Imaging, Ltd.", "PIXPRO FZ201", "JK PIXPRO FZ201"},
        {"Leica Camera AG", "M10", "Leica M10"},
        {"EASTMAN KODAK COMPANY", "KODAK Z740 ZOOM DIGITAL CAMERA",
         "KODAK Z740 ZOOM DIGITAL CAMERA"},
        {"Apple", "iPhone 5s", "Apple iPhone 5s"},
        {"SONY", "DSC-RX100", "SONY DSC-RX100"},
        {"Canonical", "Canon X", "Canonical Canon X"}, // a word, not a prefix
        {"", " iPhone ", "iPhone"},
        {"Leica", "", "Leica"},
        {" ", "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CameraName(c.make, c.model), c.name) << c.make << " / " << c.model;
}

} // namespace
