#include "presentation/NumberText.h"

#include <charconv>

namespace {

std::string PadLeft(const char* text, std::size_t length, int width) {
    std::string padded;
    if (width > 0 && length < static_cast<std::size_t>(width))
        padded.assign(static_cast<std::size_t>(width) - length, ' ');
    padded.append(text, length);
    return padded;
}

} // namespace

std::string FixedText(double value, int width, int precision) {
    // Room for the largest double written out in full, sign and decimals.
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
    if (result.ec != std::errc())
        return {};
    return PadLeft(buffer, static_cast<std::size_t>(result.ptr - buffer), width);
}

std::string IntegerText(int32_t value, int width) {
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return PadLeft(buffer, static_cast<std::size_t>(result.ptr - buffer), width);
}
