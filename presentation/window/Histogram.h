#pragma once

#include <QImage>

#include <array>
#include <cstdint>

// How many pixels of a picture have each level, 0 to 255, in its luminance
// (Rec. 709 weights) and in each of red, green and blue.
struct Histogram {
    enum Channel { Luminance, Red, Green, Blue, ChannelCount };

    std::array<std::array<uint32_t, 256>, ChannelCount> counts{};
    // The pixels counted: all of a picture up to kFullCount pixels, else an
    // even sample of about that many.
    uint32_t pixels = 0;

    static constexpr uint32_t kFullCount = 1u << 20;

    // The largest count of any level in any channel; 0 when empty.
    uint32_t Peak() const;
};

// The histogram of `image` (any format; transparency is ignored).
Histogram HistogramOf(const QImage& image);
