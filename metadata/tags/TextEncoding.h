#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Turning the bytes of metadata texts into UTF-8 for display and JSON.

// The length of the valid UTF-8 sequence at data[i] (1 for ASCII), or 0.
size_t Utf8SequenceAt(const uint8_t* data, size_t size, size_t i);
bool IsValidUtf8(const uint8_t* data, size_t size);
std::string Latin1ToUtf8(const uint8_t* data, size_t size);
// Keeps valid UTF-8 as it is; anything else is read as Latin-1.
std::string Utf8OrLatin1(const uint8_t* data, size_t size);
// UTF-8 with every invalid sequence replaced by U+FFFD.
std::string RepairUtf8(const uint8_t* data, size_t size);
// UTF-16 (big- or little-endian) to UTF-8; unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(const uint8_t* data, size_t size, bool bigEndian);
void AppendUtf8(std::string& out, uint32_t codePoint);
// Printable ASCII (and tab, CR, LF) throughout, once trailing zeros are cut.
bool IsPrintableAscii(const uint8_t* data, size_t size);
// `size` less any trailing zero bytes.
size_t WithoutTrailingZeros(const uint8_t* data, size_t size);
