#pragma once

#include <limits>
#include <optional>

// An entry's number as a whole number of type T, cut toward zero; nothing
// when it is not a number or lies outside T. A hostile file may give any
// entry any type (a DOUBLE of 1e300, a negative SLONG), and converting a
// double that T cannot hold is undefined.
template <typename T> std::optional<T> WholeNumber(double value) {
    constexpr double kBelow = double(std::numeric_limits<T>::min()) - 1.0;
    constexpr double kAbove = double(std::numeric_limits<T>::max()) + 1.0;
    if (!(value > kBelow && value < kAbove))
        return std::nullopt;
    return static_cast<T>(value);
}
