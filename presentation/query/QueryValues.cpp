#include "presentation/query/QueryValues.h"

#include <charconv>
#include <cmath>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads exactly `digits` digits at `pos`.
bool ReadDigits(std::string_view text, size_t& pos, int digits, int& value) {
    if (text.size() - pos < static_cast<size_t>(digits))
        return false;
    value = 0;
    for (int i = 0; i < digits; ++i) {
        const char c = text[pos + i];
        if (!IsDigit(c))
            return false;
        value = value * 10 + (c - '0');
    }
    pos += digits;
    return true;
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// The parts of a date (year, month, day, hour, minute, second) joined by
// the separators each may follow; returns how many were read, 0 when the
// text is not such a date or a part is out of its range.
int ReadDateParts(std::string_view text, int parts[6], std::string_view dateSeparators,
                  std::string_view timeSeparators) {
    size_t pos = 0;
    static constexpr int kWidths[] = {4, 2, 2, 2, 2, 2};
    int count = 0;
    for (; count < 6; ++count) {
        if (count > 0) {
            if (pos == text.size())
                break;
            const std::string_view separators = count == 3  ? std::string_view("T ")
                                                : count < 3 ? dateSeparators
                                                            : timeSeparators;
            if (separators.find(text[pos]) == std::string_view::npos)
                return 0;
            ++pos;
        }
        if (!ReadDigits(text, pos, kWidths[count], parts[count]))
            return 0;
    }
    if (pos != text.size())
        return 0;
    if (parts[0] < 1 || (count > 1 && (parts[1] < 1 || parts[1] > 12)) ||
        (count > 2 && (parts[2] < 1 || parts[2] > DaysInMonth(parts[0], parts[1]))) ||
        (count > 3 && parts[3] > 23) || (count > 4 && parts[4] > 59) ||
        (count > 5 && parts[5] > 59))
        return 0;
    return count;
}

int64_t DateKey(const int parts[6], int count) {
    static constexpr int64_t kScale[] = {10000000000, 100000000, 1000000, 10000, 100, 1};
    int64_t key = 0;
    for (int i = 0; i < count; ++i)
        key += parts[i] * kScale[i];
    return key;
}

int64_t Truncated(int64_t key, int precision) {
    static constexpr int64_t kUnit[] = {1, 10000000000, 100000000, 1000000, 10000, 100, 1};
    const int64_t unit = kUnit[precision < 0 ? 0 : precision > 6 ? 6 : precision];
    return key / unit * unit;
}

} // namespace

bool ParseQueryNumber(std::string_view text, double& value) {
    if (text.empty())
        return false;
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (*begin == '+')
        ++begin;
    const auto [stop, error] = std::from_chars(begin, end, value);
    return error == std::errc() && stop == end && std::isfinite(value);
}

bool ParseExposure(std::string_view text, double& seconds) {
    if (!text.empty() && text.back() == 's')
        text.remove_suffix(1);
    const size_t slash = text.find('/');
    if (slash == std::string_view::npos)
        return ParseQueryNumber(text, seconds) && seconds >= 0;
    double numerator = 0;
    double denominator = 0;
    if (!ParseQueryNumber(text.substr(0, slash), numerator) ||
        !ParseQueryNumber(text.substr(slash + 1), denominator) || numerator < 0 ||
        !(denominator > 0))
        return false;
    seconds = numerator / denominator;
    return std::isfinite(seconds);
}

bool ParseQueryDate(std::string_view text, QueryDate& date) {
    int parts[6] = {};
    const int count = ReadDateParts(text, parts, "-:", ":");
    if (count == 0)
        return false;
    date.key = DateKey(parts, count);
    date.precision = count;
    return true;
}

bool PhotoDateKey(std::string_view text, int64_t& key) {
    // Cameras without a clock write blanks or zeros; some stop after the day.
    int parts[6] = {};
    const int count = ReadDateParts(text, parts, ":-", ":");
    if (count < 3)
        return false;
    key = DateKey(parts, count);
    return true;
}

bool PhotoHour(std::string_view text, int& hour) {
    int parts[6] = {};
    if (ReadDateParts(text, parts, ":-", ":") < 4)
        return false;
    hour = parts[3];
    return true;
}

bool NumberTest::Holds(double value) const {
    switch (comparison) {
    case Comparison::Equal:
        return std::fabs(value - low) <= 1e-9 * std::fmax(1.0, std::fabs(low));
    case Comparison::Greater:
        return value > low;
    case Comparison::GreaterEqual:
        return value >= low;
    case Comparison::Less:
        return value < low;
    case Comparison::LessEqual:
        return value <= low;
    case Comparison::Range:
        return value >= low && value <= high;
    }
    return false;
}

bool DateTest::Holds(int64_t photoKey) const {
    const int64_t atLow = Truncated(photoKey, low.precision);
    switch (comparison) {
    case Comparison::Equal:
        return atLow == low.key;
    case Comparison::Greater:
        return atLow > low.key;
    case Comparison::GreaterEqual:
        return atLow >= low.key;
    case Comparison::Less:
        return atLow < low.key;
    case Comparison::LessEqual:
        return atLow <= low.key;
    case Comparison::Range:
        return atLow >= low.key && Truncated(photoKey, high.precision) <= high.key;
    }
    return false;
}
