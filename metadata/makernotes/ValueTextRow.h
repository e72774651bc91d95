#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <string_view>
#include <tuple>

// What a number of an enumerated maker-note entry means, by the directory
// it is in (the sub-directory's tag in the main one, 0 for the main one),
// its tag and the value. Tables are sorted by all three.
struct ValueTextRow {
    uint16_t directory;
    uint16_t tag;
    int64_t value;
    std::string_view text;
};

inline std::string_view FindValueText(std::span<const ValueTextRow> rows, uint16_t directory,
                                      uint16_t tag, int64_t value) {
    const auto key = [](const ValueTextRow& r) { return std::tuple(r.directory, r.tag, r.value); };
    const auto it =
        std::lower_bound(rows.begin(), rows.end(), std::tuple(directory, tag, value),
                         [&key](const ValueTextRow& r, const auto& k) { return key(r) < k; });
    return it != rows.end() && key(*it) == std::tuple(directory, tag, value) ? it->text
                                                                             : std::string_view();
}
