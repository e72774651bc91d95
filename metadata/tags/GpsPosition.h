#pragma once

#include "metadata/tags/MetadataEntry.h"

#include <optional>
#include <string>
#include <vector>

// The position recorded in the GPS directory, from walked entries.

struct GpsPosition {
    double latitude = 0;            // signed decimal degrees, north positive
    double longitude = 0;           // signed decimal degrees, east positive
    std::optional<double> altitude; // metres, below sea level negative
    const char* group = "GPS";      // the entries' group it was read from
};

// From the "GPS" group's GPSLatitude/GPSLongitude (with their N/S, E/W
// references) and GPSAltitude (with GPSAltitudeRef); else from a movie's
// "QuickTime" GPSCoordinates entry (latitude, longitude, altitude). Nothing
// when either coordinate is missing, not finite or out of range.
std::optional<GpsPosition> FindGpsPosition(const std::vector<MetadataEntry>& entries);

// "48° 51' 29.60\" N" from signed decimal degrees.
std::string DmsText(double degrees, bool latitude);
// "48.858222, 2.294500" (six decimals, a comma and a space).
std::string DecimalPositionText(const GpsPosition& position);
// An RFC 5870 URI: "geo:48.858222,2.294500" or "geo:48.858222,2.294500,35.2".
std::string GeoUri(const GpsPosition& position);

// Sets the texts of the coordinate entries of one GPS directory, entries
// [first, end): "48° 51' 29.60\" N (48.858222)", and "35.2 m below sea
// level" for an altitude with its reference.
void ApplyGpsTexts(std::vector<MetadataEntry>& entries, size_t first);
