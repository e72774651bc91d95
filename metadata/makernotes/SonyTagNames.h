#pragma once

#include <cstdint>
#include <string_view>

// The name of an entry of Sony's main directory; empty when unknown.
std::string_view SonyTagName(uint16_t tag);
