#pragma once

#include "metadata/containers/MovieMetadata.h"
#include "metadata/tags/MetadataEntry.h"

// A movie's every entry in the "QuickTime" group: its brands, times,
// duration, the video track's size, rotation, frame rate and codec, then each
// metadata item with its value. A position (Apple's location key, "©xyz",
// 3GPP's 'loci') becomes a "GPSCoordinates" entry whose numbers are latitude,
// longitude and, when given, altitude.
void ListMovieEntries(const MovieMetadata& movie, MetadataCollector& out);

// The group's name.
inline constexpr char kQuickTimeGroup[] = "QuickTime";
// The name of a position entry.
inline constexpr char kMoviePositionName[] = "GPSCoordinates";
