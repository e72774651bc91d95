#include "presentation/overview/StatsStops.h"

#include "presentation/NumberText.h"

#include <array>
#include <cmath>

namespace {

// Far beyond any lens or shutter; keeps the indexes and labels in range.
constexpr double kStepLimit = 60;

int NearestStep(double stops) {
    return static_cast<int>(std::lround(std::fmax(-kStepLimit, std::fmin(kStepLimit, stops))));
}

constexpr std::array<int, 22> kFocalMarks = {4,  6,  8,  10,  12,  14,  16,  20,  24,  28,  35,
                                             50, 70, 85, 100, 135, 200, 300, 400, 500, 600, 800};

// One decimal, without ".0".
std::string TenthsText(double value) {
    std::string text = FixedText(value, 0, 1);
    if (text.size() > 2 && text.compare(text.size() - 2, 2, ".0") == 0)
        text.resize(text.size() - 2);
    return text;
}

} // namespace

int FocalStep(double millimetres) {
    // The nearest mark on a logarithmic scale: the boundary between two
    // marks is their geometric mean.
    int step = 0;
    while (step + 1 < static_cast<int>(kFocalMarks.size()) &&
           millimetres * millimetres >= double(kFocalMarks[step]) * kFocalMarks[step + 1])
        ++step;
    return step;
}

std::string FocalStepLabel(int step) {
    if (step < 0 || step >= static_cast<int>(kFocalMarks.size()))
        return {};
    return IntegerText(kFocalMarks[step]) + " mm";
}

int ApertureStep(double fNumber) {
    // A stop doubles the f-number's square: thirds are sixths of log2.
    return NearestStep(6 * std::log2(fNumber));
}

std::string ApertureStepLabel(int step) {
    // The marks engraved on lenses, from f/1 in thirds of a stop.
    static constexpr std::array<const char*, 37> kMarks = {
        "1",   "1.1", "1.2", "1.4", "1.6", "1.8", "2",  "2.2", "2.5", "2.8", "3.2", "3.5", "4",
        "4.5", "5",   "5.6", "6.3", "7.1", "8",   "9",  "10",  "11",  "13",  "14",  "16",  "18",
        "20",  "22",  "25",  "29",  "32",  "36",  "40", "45",  "51",  "57",  "64"};
    if (step >= 0 && step < static_cast<int>(kMarks.size()))
        return std::string("f/") + kMarks[step];
    const double fNumber = std::exp2(step / 6.0);
    return "f/" + (fNumber < 10 ? TenthsText(fNumber) : FixedText(std::round(fNumber), 0, 0));
}

int IsoStep(double iso) {
    return NearestStep(std::log2(iso / 100));
}

std::string IsoStepLabel(int step) {
    return "ISO " + FixedText(std::round(100 * std::exp2(step)), 0, 0);
}

int ExposureStep(double seconds) {
    return NearestStep(std::log2(seconds));
}

std::string ExposureStepLabel(int step) {
    // The marks on shutter dials: 1/8000 ... 1/2, then 1 s ... 30 s, and on.
    static constexpr std::array<int, 15> kFractions = {
        2, 4, 8, 15, 30, 60, 125, 250, 500, 1000, 2000, 4000, 8000, 16000, 32000};
    static constexpr std::array<int, 10> kSeconds = {1, 2, 4, 8, 15, 30, 60, 120, 240, 480};
    if (step < 0) {
        const int index = -step - 1;
        if (index < static_cast<int>(kFractions.size()))
            return "1/" + IntegerText(kFractions[index]) + " s";
        return "1/" + FixedText(std::exp2(-step), 0, 0) + " s";
    }
    if (step < static_cast<int>(kSeconds.size()))
        return IntegerText(kSeconds[step]) + " s";
    return FixedText(std::exp2(step), 0, 0) + " s";
}
