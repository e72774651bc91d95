#pragma once

#include <cstdint>
#include <string_view>

// The name of an entry of Canon's maker-note directory; empty when unknown.
std::string_view CanonTagName(uint16_t tag);
