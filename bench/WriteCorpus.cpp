// Writes the benchmark's folder of camera-like JPEG files: COUNT files in
// camera-style sub-folders, each with an EXIF block of about 60 KB (maker
// note and thumbnail) and image data, 100-300 KB in all, content varied by a
// fixed pseudo-random sequence. Optionally also a flat folder of LINK_COUNT
// hard links cycling over them, for runs over many files at no disk cost.
//
// Usage: velmora_write_corpus DIR COUNT [LINK_DIR LINK_COUNT]

#include "bench/CameraFiles.h"
#include "tests/fixtures/JpegBuilder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

using fixture::Bytes;
namespace fs = std::filesystem;

namespace {

class Random {
public:
    uint32_t Next() {
        m_state = m_state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<uint32_t>(m_state >> 33);
    }
    uint32_t Below(uint32_t n) { return Next() % n; }
    template <class T, std::size_t N> const T& Pick(const T (&items)[N]) { return items[Below(N)]; }

private:
    uint64_t m_state = 0x5EED;
};

struct Size {
    uint16_t width;
    uint16_t height;
};

struct Camera {
    const char* make;
    const char* model;
};

// Flat image data from the quantisation tables to the end of image; the
// same few are shared by many files.
const Bytes& ImageData(Size size, int colour) {
    static std::map<std::pair<uint32_t, int>, Bytes> cache;
    const auto key = std::make_pair(uint32_t{size.width} << 16 | size.height, colour);
    auto it = cache.find(key);
    if (it == cache.end()) {
        fixture::JpegBuilder image;
        image.FlatImage(size.width, size.height, static_cast<uint8_t>(40 + 50 * colour),
                        static_cast<uint8_t>(200 - 30 * colour), static_cast<uint8_t>(90 + colour));
        it = cache.emplace(key, image.Data()).first;
    }
    return it->second;
}

bench::CameraShot VariedShot(Random& random, uint32_t index) {
    static const Camera kCameras[] = {
        {"Velmora", "Test Camera 100"}, {"Northlight", "NL-7 Mark II"}, {"Kestrel Optics", "K20"},
        {"Velmora", "Pocket 5"},        {"Aurel", "A900 Pro"},
    };
    static const Size kSizes[] = {
        {2048, 1536}, {2592, 1944}, {3264, 2448}, {3648, 2736}, {4000, 3000},
    };
    static const uint32_t kExposures[] = {30, 60, 125, 250, 500, 1000, 4000};
    static const uint32_t kApertures[] = {18, 28, 40, 56, 80, 110};
    static const uint16_t kIsos[] = {100, 200, 400, 800, 1600, 3200};

    bench::CameraShot shot;
    const Camera& camera = random.Pick(kCameras);
    shot.order = random.Below(2) ? fixture::ByteOrder::Big : fixture::ByteOrder::Little;
    shot.exif = random.Below(20) != 0; // a few files without EXIF
    shot.make = camera.make;
    shot.model = camera.model;
    char date[20];
    std::snprintf(date, sizeof date, "20%02u:%02u:%02u %02u:%02u:%02u", 10 + random.Below(17),
                  1 + random.Below(12), 1 + random.Below(28), random.Below(24), random.Below(60),
                  random.Below(60));
    shot.dateTime = date;
    shot.exposureDenominator = random.Pick(kExposures);
    shot.fNumberTenths = random.Pick(kApertures);
    shot.iso = random.Pick(kIsos);
    shot.focalLengthTenths = 40 + random.Below(1500);
    const Size size = random.Pick(kSizes);
    shot.width = size.width;
    shot.height = size.height;
    shot.makerNoteBytes = 40000 + random.Below(18000);
    shot.seed = index;
    if (random.Below(10) == 0)
        shot.comment = "Holiday picture " + std::to_string(index);
    return shot;
}

bool Write(const fs::path& path, const Bytes& headers, const Bytes& image) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
        return false;
    bool ok = std::fwrite(headers.data(), 1, headers.size(), out) == headers.size() &&
              std::fwrite(image.data(), 1, image.size(), out) == image.size();
    return std::fclose(out) == 0 && ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 5) {
        std::fprintf(stderr, "usage: %s DIR COUNT [LINK_DIR LINK_COUNT]\n", argv[0]);
        return 2;
    }
    const fs::path dir = argv[1];
    const long count = std::strtol(argv[2], nullptr, 10);
    if (count <= 0) {
        std::fprintf(stderr, "COUNT must be positive\n");
        return 2;
    }

    Random random;
    std::vector<fs::path> written;
    unsigned long long total = 0;
    std::error_code error;
    for (long i = 0; i < count; ++i) {
        const fs::path folder = dir / (std::to_string(100 + i / 300) + "VELMO");
        if (i % 300 == 0 && !fs::create_directories(folder, error) && error) {
            std::fprintf(stderr, "cannot create %s: %s\n", folder.c_str(), error.message().c_str());
            return 1;
        }
        char name[32];
        std::snprintf(name, sizeof name, "IMG_%04ld.jpg", i % 10000);
        const bench::CameraShot shot = VariedShot(random, static_cast<uint32_t>(i));
        const Bytes headers = bench::CameraHeaders(shot);
        const Bytes& image = ImageData({shot.width, shot.height}, static_cast<int>(i % 5));
        const fs::path path = folder / name;
        if (!Write(path, headers, image)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        total += headers.size() + image.size();
        written.push_back(path);
    }
    std::printf("%ld files, %.1f MB, %.0f KB each on average, in %s\n", count, total / 1e6,
                total / 1e3 / static_cast<double>(count), dir.c_str());

    if (argc == 5) {
        const fs::path linkDir = argv[3];
        const long links = std::strtol(argv[4], nullptr, 10);
        fs::create_directories(linkDir, error);
        for (long i = 0; i < links; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "f%05ld.jpg", i);
            const fs::path& target = written[static_cast<size_t>(i) % written.size()];
            fs::create_hard_link(target, linkDir / name, error);
            if (error)
                fs::copy_file(target, linkDir / name, error); // another file system
            if (error) {
                std::fprintf(stderr, "cannot make %s: %s\n", (linkDir / name).c_str(),
                             error.message().c_str());
                return 1;
            }
        }
        std::printf("%ld links in %s\n", links, linkDir.c_str());
    }
    return 0;
}
