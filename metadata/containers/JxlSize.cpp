#include "metadata/containers/JxlSize.h"

namespace {

// Bits are taken from the lowest of each byte first.
class BitReader {
public:
    BitReader(const unsigned char* data, size_t size) : m_data(data), m_size(size) {}
    uint32_t Bits(int n) {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i) {
            if (m_bit >= m_size * 8) {
                m_ok = false;
                return 0;
            }
            v |= uint32_t{(m_data[m_bit / 8] >> (m_bit % 8)) & 1u} << i;
            ++m_bit;
        }
        return v;
    }
    // The size header's four-way choice of 9, 13, 18 or 30 bits, plus one.
    uint32_t Dimension() {
        static constexpr int kBits[4] = {9, 13, 18, 30};
        return Bits(kBits[Bits(2)]) + 1;
    }
    bool Ok() const { return m_ok; }

private:
    const unsigned char* m_data;
    size_t m_size;
    size_t m_bit = 0;
    bool m_ok = true;
};

} // namespace

bool JxlCodestreamSize(const unsigned char* data, size_t size, uint32_t& width, uint32_t& height) {
    if (size < 2 || data[0] != 0xFF || data[1] != 0x0A)
        return false;
    BitReader bits(data + 2, size - 2);
    const bool small = bits.Bits(1) != 0;
    const uint32_t h = small ? (bits.Bits(5) + 1) * 8 : bits.Dimension();
    const uint32_t ratio = bits.Bits(3);
    uint64_t w = 0;
    switch (ratio) {
    case 0:
        w = small ? (bits.Bits(5) + 1) * 8 : bits.Dimension();
        break;
    case 1:
        w = h;
        break;
    case 2:
        w = uint64_t{h} * 12 / 10;
        break;
    case 3:
        w = uint64_t{h} * 4 / 3;
        break;
    case 4:
        w = uint64_t{h} * 3 / 2;
        break;
    case 5:
        w = uint64_t{h} * 16 / 9;
        break;
    case 6:
        w = uint64_t{h} * 5 / 4;
        break;
    default:
        w = uint64_t{h} * 2;
        break;
    }
    if (!bits.Ok() || w > UINT32_MAX)
        return false;
    width = static_cast<uint32_t>(w);
    height = h;
    return true;
}
