#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Pieces of JSON text, appended to `out`.

// A JSON string of the bytes: kept as they are when they are valid UTF-8,
// else read as Latin-1, as the rows read the record's texts.
void AppendJsonString(std::string& out, std::string_view bytes);

// The same written at `out`, which must have JsonStringRoom(bytes.size())
// bytes of room (an escaped control character takes six); returns the end.
// For writers that make room once for many pieces.
constexpr size_t JsonStringRoom(size_t size) {
    return 6 * size + 2;
}
char* WriteJsonString(char* out, std::string_view bytes);
// Room enough for any number WriteJsonDouble and WriteJsonInteger write.
constexpr size_t kJsonNumberRoom = 32;
// AppendJsonDouble's text at `out`; returns the end.
char* WriteJsonDouble(char* out, double value);
char* WriteJsonInteger(char* out, int64_t value);

// The shortest text that reads back as the same single-precision value;
// null for NaN and the infinities, which JSON cannot carry.
void AppendJsonFloat(std::string& out, float value);
// The same for a double.
void AppendJsonDouble(std::string& out, double value);

void AppendJsonInteger(std::string& out, int64_t value);

void AppendJsonBool(std::string& out, bool value);
