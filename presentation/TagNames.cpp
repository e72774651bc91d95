#include "presentation/TagNames.h"

#include <cstddef>

namespace {

struct CodeName {
    int32_t code;
    const char* name;
};

template <std::size_t N> const char* Find(const CodeName (&table)[N], int32_t code) {
    for (const CodeName& entry : table)
        if (entry.code == code)
            return entry.name;
    return nullptr;
}

constexpr CodeName kOrientations[] = {
    {1, "Horizontal (normal)"},
    {2, "Mirror horizontal"},
    {3, "Rotate 180"},
    {4, "Mirror vertical"},
    {5, "Mirror horizontal and rotate 270 CW"},
    {6, "Rotate 90 CW"},
    {7, "Mirror horizontal and rotate 90 CW"},
    {8, "Rotate 270 CW"},
};

// EXIF LightSource; 1, 3 and 10 keep the program's long-standing words.
constexpr CodeName kLightSources[] = {
    {0, "Unknown"},
    {1, "sunny"},
    {2, "Fluorescent"},
    {3, "Incandescent"},
    {4, "Flash"},
    {9, "Fine weather"},
    {10, "Cloudy"},
    {11, "Shade"},
    {12, "Daylight fluorescent (D 5700-7100K)"},
    {13, "Day white fluorescent (N 4600-5400K)"},
    {14, "Cool white fluorescent (W 3900-4500K)"},
    {15, "White fluorescent (WW 3200-3700K)"},
    {16, "Warm white fluorescent (L 2600-3250K)"},
    {17, "Standard light A"},
    {18, "Standard light B"},
    {19, "Standard light C"},
    {20, "D55"},
    {21, "D65"},
    {22, "D75"},
    {23, "D50"},
    {24, "ISO studio tungsten"},
    {255, "Other light source"},
};

constexpr CodeName kMeteringModes[] = {
    {1, "Average"}, {2, "Center Weight"}, {3, "Spot"},    {4, "Multi-spot"},
    {5, "Matrix"},  {6, "Partial"},       {255, "Other"},
};

constexpr CodeName kExposurePrograms[] = {
    {1, "Manual"},
    {2, "Program (auto)"},
    {3, "Aperture priority (semi-auto)"},
    {4, "Shutter priority (semi-auto)"},
    {5, "Creative program (biased toward depth of field)"},
    {6, "Action program (biased toward fast shutter speed)"},
    {7, "Portrait mode"},
    {8, "Landscape mode"},
};

constexpr CodeName kJpegQualities[] = {
    {1, "Basic"},
    {2, "Normal"},
    {4, "Fine"},
};

// Marker code of the frame header (SOFn) to its coding process.
constexpr CodeName kEncodings[] = {
    {0xC0, "Baseline"},
    {0xC1, "Extended sequential"},
    {0xC2, "Progressive"},
    {0xC3, "Lossless"},
    {0xC5, "Differential sequential"},
    {0xC6, "Differential progressive"},
    {0xC7, "Differential lossless"},
    {0xC9, "Extended sequential, arithmetic coding"},
    {0xCA, "Progressive, arithmetic coding"},
    {0xCB, "Lossless, arithmetic coding"},
    {0xCD, "Differential sequential, arithmetic coding"},
    {0xCE, "Differential progressive, arithmetic coding"},
    {0xCF, "Differential lossless, arithmetic coding"},
};

} // namespace

const char* OrientationName(int32_t code) {
    return Find(kOrientations, code);
}
const char* LightSourceName(int32_t code) {
    return Find(kLightSources, code);
}
const char* MeteringModeName(int32_t code) {
    return Find(kMeteringModes, code);
}
const char* ExposureProgramName(int32_t code) {
    return Find(kExposurePrograms, code);
}
const char* JpegQualityName(int32_t code) {
    return Find(kJpegQualities, code);
}

const char* EncodingName(int32_t markerCode) {
    const char* name = Find(kEncodings, markerCode);
    return name ? name : "Unknown";
}
