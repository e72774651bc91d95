#include "metadata/MovieRecord.h"

#include <cstdio>
#include <cstring>

namespace {

bool IsText(const MovieTag& tag) {
    return tag.type == MovieTag::Utf8 || tag.type == MovieTag::MacText;
}

// The first text among these keys, in their order.
std::string FirstText(const MovieMetadata& movie, std::initializer_list<const char*> keys) {
    for (const char* key : keys)
        if (const MovieTag* tag = movie.Find(key); tag != nullptr && IsText(*tag)) {
            std::string text = MovieTagBytes(*tag);
            if (!text.empty())
                return text;
        }
    return {};
}

template <size_t N> void CopyField(char (&field)[N], const std::string& text) {
    const size_t n = text.size() < N - 1 ? text.size() : N - 1;
    std::memcpy(field, text.data(), n);
    field[n] = '\0';
}

bool Digits(const std::string& s, size_t at, size_t count) {
    if (s.size() < at + count)
        return false;
    for (size_t i = at; i < at + count; ++i)
        if (s[i] < '0' || s[i] > '9')
            return false;
    return true;
}

} // namespace

std::string MovieTagBytes(const MovieTag& tag) {
    size_t n = tag.value.size();
    while (n > 0 && tag.value[n - 1] == '\0')
        --n;
    return tag.value.substr(0, n);
}

std::string MovieTimeText(uint64_t seconds) {
    // Days from 1904-01-01 to 1970-01-01, then the civil date of a day count
    // (Howard Hinnant's algorithm).
    constexpr uint64_t kMaxSeconds = 255485635200ull; // year 10000 from 1904
    if (seconds == 0 || seconds >= kMaxSeconds)
        return {};
    const int64_t days = int64_t(seconds / 86400) - 24107;
    const uint64_t rest = seconds % 86400;
    const int64_t z = days + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int64_t day = doy - (153 * mp + 2) / 5 + 1;
    const int64_t month = mp < 10 ? mp + 3 : mp - 9;
    const int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    char text[32];
    std::snprintf(text, sizeof text, "%04d:%02d:%02d %02d:%02d:%02d", int(year), int(month),
                  int(day), int(rest / 3600), int(rest / 60 % 60), int(rest % 60));
    return text;
}

std::string IsoDateTimeText(const std::string& iso) {
    if (!Digits(iso, 0, 4) || iso[4] != '-' || !Digits(iso, 5, 2) || iso[7] != '-' ||
        !Digits(iso, 8, 2) || (iso[10] != 'T' && iso[10] != ' ') || !Digits(iso, 11, 2) ||
        iso[13] != ':' || !Digits(iso, 14, 2))
        return {};
    std::string text = iso.substr(0, 4) + ':' + iso.substr(5, 2) + ':' + iso.substr(8, 2) + ' ' +
                       iso.substr(11, 5);
    text += iso.size() >= 19 && iso[16] == ':' && Digits(iso, 17, 2) ? iso.substr(16, 3) : ":00";
    return text;
}

void FillMovieRecord(const MovieMetadata& movie, ExifSummary& record) {
    record.exifValid = movie.headerRead;
    record.flashUsed = -1; // a movie's record says nothing of a flash
    std::string date = IsoDateTimeText(FirstText(movie, {"com.apple.quicktime.creationdate"}));
    if (date.empty())
        date = MovieTimeText(movie.created);
    CopyField(record.dateTime, date);
    CopyField(record.cameraMake, FirstText(movie, {"com.apple.quicktime.make",
                                                   "\xA9"
                                                   "mak",
                                                   "com.android.manufacturer"}));
    CopyField(record.cameraModel, FirstText(movie, {"com.apple.quicktime.model",
                                                    "\xA9"
                                                    "mod",
                                                    "com.android.model"}));
    if (movie.width <= INT32_MAX && movie.height <= INT32_MAX) {
        record.width = static_cast<int32_t>(movie.width);
        record.height = static_cast<int32_t>(movie.height);
    }
    std::memcpy(record.videoCodec, movie.codec, sizeof record.videoCodec);
}
