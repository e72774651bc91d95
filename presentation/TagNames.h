#pragma once

#include <cstdint>

// Names of the coded values shown in the tag list. Each returns nullptr for a
// code it does not know, and the row then shows the number, except
// EncodingName, which always has a name.
const char* OrientationName(int32_t code);
const char* LightSourceName(int32_t code);
const char* MeteringModeName(int32_t code);
const char* ExposureProgramName(int32_t code);
const char* JpegQualityName(int32_t code);
const char* EncodingName(int32_t markerCode);
