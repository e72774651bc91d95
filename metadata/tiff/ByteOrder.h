#pragma once

#include <cstdint>

// Numbers as files store them. The fixed orders serve the containers
// (ISOBMFF, PNG and the RAF header are big-endian, WebP little-endian); a
// TIFF structure says its own order in its header, and a maker note inside
// it may use another.

inline uint32_t Be16(const unsigned char* p) {
    return (uint32_t{p[0]} << 8) | p[1];
}
inline uint32_t Be32(const unsigned char* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}
inline uint64_t Be64(const unsigned char* p) {
    return (uint64_t{Be32(p)} << 32) | Be32(p + 4);
}
inline uint32_t Le16(const unsigned char* p) {
    return (uint32_t{p[1]} << 8) | p[0];
}
inline uint32_t Le32(const unsigned char* p) {
    return (uint32_t{p[3]} << 24) | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
}
inline uint64_t Le64(const unsigned char* p) {
    return (uint64_t{Le32(p + 4)} << 32) | Le32(p);
}

enum class TiffByteOrder : uint8_t { Little, Big };

inline uint16_t TiffRead16(const unsigned char* p, TiffByteOrder order) {
    return static_cast<uint16_t>(order == TiffByteOrder::Big ? Be16(p) : Le16(p));
}
inline uint32_t TiffRead32(const unsigned char* p, TiffByteOrder order) {
    return order == TiffByteOrder::Big ? Be32(p) : Le32(p);
}
inline uint64_t TiffRead64(const unsigned char* p, TiffByteOrder order) {
    return order == TiffByteOrder::Big ? Be64(p) : Le64(p);
}

inline void TiffWrite16(unsigned char* p, uint32_t v, TiffByteOrder order) {
    const bool big = order == TiffByteOrder::Big;
    p[big ? 0 : 1] = static_cast<unsigned char>(v >> 8);
    p[big ? 1 : 0] = static_cast<unsigned char>(v);
}
inline void TiffWrite32(unsigned char* p, uint32_t v, TiffByteOrder order) {
    const bool big = order == TiffByteOrder::Big;
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(v >> (big ? 24 - 8 * i : 8 * i));
}
