#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Pieces of JSON text, appended to `out`.

// A JSON string of the bytes: kept as they are when they are valid UTF-8,
// else read as Latin-1, as the rows read the record's texts.
void AppendJsonString(std::string& out, std::string_view bytes);

// The shortest text that reads back as the same single-precision value;
// null for NaN and the infinities, which JSON cannot carry.
void AppendJsonFloat(std::string& out, float value);
// The same for a double.
void AppendJsonDouble(std::string& out, double value);

void AppendJsonInteger(std::string& out, int64_t value);

void AppendJsonBool(std::string& out, bool value);
