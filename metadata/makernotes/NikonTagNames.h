#pragma once

#include <cstdint>
#include <string_view>

// The names of the entries of Nikon's maker-note directory (type 2 and 3
// notes); empty for a tag without one.
std::string_view NikonTagName(uint16_t tag);

// The names of the entries of Nikon Scan's directory (0x0E10).
std::string_view NikonScanTagName(uint16_t tag);
