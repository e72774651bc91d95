#pragma once

#include <cstdint>
#include <string_view>

// The values a query compares: numbers, exposure times and dates, as people
// type them, and how a photo's value is held against them.

enum class Comparison { Equal, Greater, GreaterEqual, Less, LessEqual, Range };

// A decimal number ("2.8", "-33.9", "1e3") with '.' as the decimal point,
// whatever the locale.
bool ParseQueryNumber(std::string_view text, double& value);

// An exposure time in seconds: "1/250", "0.5", "2s", "1/250s".
bool ParseExposure(std::string_view text, double& seconds);

// A date, as precise as it was typed: "2023", "2023-05", "2023-05-14",
// "2023-05-14T10", "2023-05-14T10:30", "2023-05-14T10:30:15" (also with a
// blank or ':' in the EXIF way). `key` is YYYYMMDDhhmmss with the parts
// not given zero.
struct QueryDate {
    int64_t key = 0;
    int precision = 0; // 1 year, 2 month, 3 day, 4 hour, 5 minute, 6 second
};
bool ParseQueryDate(std::string_view text, QueryDate& date);

// A photo's date as the record holds it ("2023:05:14 10:30:15"), at full
// precision; false for an empty or zero date.
bool PhotoDateKey(std::string_view text, int64_t& key);
// The hour of a photo's date, when the date has one.
bool PhotoHour(std::string_view text, int& hour);

// Numbers compared by a filter; `low` alone except for a range, which holds
// both ends.
struct NumberTest {
    Comparison comparison = Comparison::Equal;
    double low = 0;
    double high = 0;

    bool Holds(double value) const;
};

// Dates compared at the precision each end was typed with: "2023-05"
// equals every day of May 2023, and "<=2023-05" takes May in.
struct DateTest {
    Comparison comparison = Comparison::Equal;
    QueryDate low;
    QueryDate high;

    bool Holds(int64_t photoKey) const;
};
