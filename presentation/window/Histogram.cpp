#include "presentation/window/Histogram.h"

#include <algorithm>

uint32_t Histogram::Peak() const {
    uint32_t peak = 0;
    for (const auto& channel : counts)
        peak = std::max(peak, *std::max_element(channel.begin(), channel.end()));
    return peak;
}

Histogram HistogramOf(const QImage& image) {
    Histogram histogram;
    if (image.isNull())
        return histogram;
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    const qint64 area = qint64(pixels.width()) * pixels.height();
    // A large picture is sampled on a grid: the shape of its histogram is
    // the same, in a bounded time.
    int step = 1;
    while (area / (qint64(step) * step) > Histogram::kFullCount)
        ++step;
    for (int y = 0; y < pixels.height(); y += step) {
        const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        for (int x = 0; x < pixels.width(); x += step) {
            const int r = qRed(line[x]);
            const int g = qGreen(line[x]);
            const int b = qBlue(line[x]);
            // Rec. 709 luma in 1/256ths: 54 + 183 + 19 = 256, so white stays 255.
            ++histogram.counts[Histogram::Luminance][(54 * r + 183 * g + 19 * b) >> 8];
            ++histogram.counts[Histogram::Red][r];
            ++histogram.counts[Histogram::Green][g];
            ++histogram.counts[Histogram::Blue][b];
            ++histogram.pixels;
        }
    }
    return histogram;
}
