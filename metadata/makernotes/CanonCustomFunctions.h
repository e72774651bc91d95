#pragma once

#include <cstdint>
#include <string_view>

// The name of a setting of Canon's CustomFunctions2 record; empty when
// unknown.
std::string_view CanonCustomFunction2Name(uint32_t id);
