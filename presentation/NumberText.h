#pragma once

#include <cstdint>
#include <string>

// printf's "%W.Pf" and "%Wd", but always with the C locale's decimal point:
// the window program runs under the user's locale, and its values must not
// turn into "72,0".
std::string FixedText(double value, int width, int precision);
std::string IntegerText(int32_t value, int width = 0);
