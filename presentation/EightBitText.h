#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The record's texts are the file's own bytes in no declared code page. They
// are read as UTF-8 when they are valid UTF-8 and as Latin-1 otherwise, so the
// result is always valid UTF-8.

// Length up to the first zero byte, never past the end of the field.
std::size_t BoundedLength(const char* field, std::size_t fieldSize);

// Strict UTF-8: no overlong forms, surrogates, code points above U+10FFFF or
// cut-off sequences.
bool IsUtf8(std::string_view bytes);

// Appends one byte of a text already judged by IsUtf8: as it is when the text
// is UTF-8, else as the Latin-1 character of the same value.
void AppendTextByte(std::string& out, unsigned char byte, bool textIsUtf8);

// The terminated text of a fixed-size field, as UTF-8.
std::string FieldText(const char* field, std::size_t fieldSize);

template <std::size_t N> std::string FieldText(const char (&field)[N]) {
    return FieldText(field, N);
}
