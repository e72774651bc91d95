#pragma once

#include "metadata/tags/GpsPosition.h"

#include <optional>
#include <string_view>

// A position in ISO 6709's text form, as movies store it:
// "+32.0929+034.8620+028.516/" — latitude, longitude, an optional altitude
// in metres, then anything (a reference system, the closing '/'). Each
// coordinate in degrees (±DD.D, ±DDD.D), degrees and minutes (±DDMM.M,
// ±DDDMM.M) or with seconds too (±DDMMSS.S, ±DDDMMSS.S). Nothing when the
// text is not one or a coordinate is out of range.
std::optional<GpsPosition> ParseIso6709(std::string_view text);
