#pragma once

#include <cstddef>

// Sony enciphers some records of its maker note (0x2010, 0x9050, 0x94xx)
// with a published byte substitution: a byte b below 249 is written as
// b^3 mod 249; bytes 249..255 stay as they are. Deciphering maps each byte
// back through the inverse of that table.

// `size` bytes from `in` deciphered into `out` (which may be `in`).
void SonyDecipher(const unsigned char* in, size_t size, unsigned char* out);
// The camera's direction, for building test records.
void SonyEncipher(const unsigned char* in, size_t size, unsigned char* out);
