#include "metadata/makernotes/SonyCipher.h"

#include <array>

namespace {

constexpr unsigned char Cube(unsigned b) {
    return static_cast<unsigned char>(b < 249 ? (b * b % 249) * b % 249 : b);
}

struct Tables {
    std::array<unsigned char, 256> forward{};
    std::array<unsigned char, 256> inverse{};
};

// Cubing is a permutation of 0..248 (249 = 3 * 83 and 3 divides neither
// 2 nor 82, the group orders), so the inverse table is complete.
constexpr Tables MakeTables() {
    Tables t;
    for (unsigned b = 0; b < 256; ++b) {
        t.forward[b] = Cube(b);
        t.inverse[Cube(b)] = static_cast<unsigned char>(b);
    }
    return t;
}

constexpr Tables kTables = MakeTables();

} // namespace

void SonyDecipher(const unsigned char* in, size_t size, unsigned char* out) {
    for (size_t i = 0; i < size; ++i)
        out[i] = kTables.inverse[in[i]];
}

void SonyEncipher(const unsigned char* in, size_t size, unsigned char* out) {
    for (size_t i = 0; i < size; ++i)
        out[i] = kTables.forward[in[i]];
}
