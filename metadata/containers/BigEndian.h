#pragma once

#include <cstdint>

// Big-endian numbers, as ISOBMFF, PNG and the RAF header store them.
inline uint32_t Be16(const unsigned char* p) {
    return (uint32_t{p[0]} << 8) | p[1];
}
inline uint32_t Be32(const unsigned char* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}
inline uint64_t Be64(const unsigned char* p) {
    return (uint64_t{Be32(p)} << 32) | Be32(p + 4);
}
inline uint32_t Le32(const unsigned char* p) {
    return (uint32_t{p[3]} << 24) | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
}
