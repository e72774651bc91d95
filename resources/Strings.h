#pragma once

#include <span>
#include <string_view>

// One entry of the compiled-in string table.
struct StringResource {
    unsigned id;
    std::u16string_view text;
};

// Every string of the user interface, in ascending id order.
std::span<const StringResource> StringResources();
