#pragma once

#include <string>
#include <string_view>

// One CSV field, quoted as RFC 4180 asks when it holds a comma, a quote or a
// line break.
void AppendCsvField(std::string& out, std::string_view field);
