#include "metadata/tags/FixedDecimals.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace {

constexpr uint64_t kPowersOfTen[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
constexpr int kMostQuickDecimals = 6;

// The digits of `n`, at least `least` of them (zeros in front).
char* WriteDigits(char* out, uint64_t n, int least) {
    char digits[24];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n != 0);
    while (count < least)
        digits[count++] = '0';
    while (count > 0)
        *out++ = digits[--count];
    return out;
}

// The text without the general conversion, for a value whose digits a
// double product gives exactly; nullptr when it may not.
char* WriteQuickly(char* out, double value, int decimals) {
    if (decimals > kMostQuickDecimals || !std::isfinite(value))
        return nullptr;
    // Below 2^40 the product is within 2^-14 of the exact one: only a value
    // that near a half could round the other way (or be a tie, which goes
    // to the even digit).
    const double scaled = std::fabs(value) * static_cast<double>(kPowersOfTen[decimals]);
    if (!(scaled < 0x1p40))
        return nullptr;
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    if (std::fabs(fraction - 0.5) < 0x1p-11)
        return nullptr;
    const uint64_t n = static_cast<uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
    // printf keeps the sign of a negative value written as zero: "-0.0".
    if (std::signbit(value))
        *out++ = '-';
    const uint64_t unit = kPowersOfTen[decimals];
    out = WriteDigits(out, n / unit, 1);
    if (decimals == 0)
        return out;
    *out++ = '.';
    return WriteDigits(out, n % unit, decimals);
}

} // namespace

char* WriteFixedDecimals(char* out, double value, int decimals) {
    decimals = decimals < 0 ? 0 : decimals;
    if (char* end = WriteQuickly(out, value, decimals))
        return end;
    const auto written =
        std::to_chars(out, out + kFixedDecimalsRoom, value, std::chars_format::fixed, decimals);
    return written.ec == std::errc() ? written.ptr : out;
}

std::string FixedDecimalsText(double value, int decimals) {
    char text[kFixedDecimalsRoom];
    return std::string(text, WriteFixedDecimals(text, value, decimals));
}
