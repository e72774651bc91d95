#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Nikon enciphers parts of its binary records (LensData from version 0201,
// ShotInfo from 0209, ColorBalance from 0205) with a byte stream keyed by
// the body's serial number (0x001D) and its shutter count (0x00A7). The
// stream is a XOR, so the same call enciphers and deciphers.
class NikonCipher {
public:
    NikonCipher(uint32_t serialKey, uint32_t shutterCount);

    // XORs `size` bytes with the stream from its first byte on; a second
    // call goes on where the first stopped.
    void Apply(unsigned char* data, size_t size);

private:
    uint8_t m_ci;
    uint8_t m_cj;
    uint8_t m_ck = 0x60;
};

// The serial number as the key: its decimal number when it is all digits,
// else the body's fixed key (0x22 for the D50, 0x60 for the others that
// write a text there).
uint32_t NikonSerialKey(std::string_view serial, std::string_view model);
