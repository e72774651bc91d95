#include "presentation/NumberText.h"

#include "metadata/tags/FixedDecimals.h"

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
    char buffer[kFixedDecimalsRoom];
    const char* end = WriteFixedDecimals(buffer, value, precision);
    if (end == buffer)
        return {};
    return PadLeft(buffer, static_cast<std::size_t>(end - buffer), width);
}

std::string IntegerText(int32_t value, int width) {
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return PadLeft(buffer, static_cast<std::size_t>(result.ptr - buffer), width);
}
