#pragma once

#include <cstddef>
#include <string>

// printf's "%.<decimals>f" in the C locale, digit for digit, never cut
// short: the largest doubles have 309 digits before the point.
constexpr size_t kFixedDecimalsRoom = 400;

// Writes the text at `out`, which has kFixedDecimalsRoom bytes; returns its
// end (nothing written when the text would not fit). Decimals below 0
// count as 0.
char* WriteFixedDecimals(char* out, double value, int decimals);
std::string FixedDecimalsText(double value, int decimals);
