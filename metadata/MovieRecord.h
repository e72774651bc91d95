#pragma once

#include "metadata/ExifSummary.h"
#include "metadata/containers/MovieMetadata.h"

#include <cstdint>
#include <string>

// A movie's record: what its header and items say that a photo's record
// holds too (date, make, model, size) and its video codec. The date is the
// Apple key's local time where there is one, else the movie header's (UTC).
// exifValid tells that a movie header was read.
void FillMovieRecord(const MovieMetadata& movie, ExifSummary& record);

// "2019:07:24 08:25:57" from seconds since 1904-01-01 UTC; empty for 0 or a
// time past year 9999.
std::string MovieTimeText(uint64_t secondsSince1904);

// "2019:07:24 11:25:40" from an ISO 8601 date and time
// ("2019-07-24T11:25:40+0300"), its zone left out; empty when the text does
// not start with one.
std::string IsoDateTimeText(const std::string& iso);

// A value's text bytes without trailing zeros (the UTF-16 ones aside).
std::string MovieTagBytes(const MovieTag& tag);
