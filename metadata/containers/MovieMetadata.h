#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One metadata item of a QuickTime or MP4 movie: an Apple key's value
// ("com.apple.quicktime.make"), a user-data text ("©mak") or an iTunes-style
// item ("©day"), as stored.
struct MovieTag {
    // Well-known types of an item's 'data' box, and two of our own for the
    // values that come without one.
    enum Type : uint32_t {
        Binary = 0,
        Utf8 = 1,
        Utf16 = 2,
        Jpeg = 13,
        Png = 14,
        SignedInt = 21,
        UnsignedInt = 22,
        Float32 = 23,
        Float64 = 24,
        MacText = 0x10000,  // a user-data text in a Macintosh language: Mac Roman
        Position = 0x10001, // an ISO 6709 text our walk wrote from a 3GPP 'loci' box
    };
    std::string key; // the key's name, or the item's four characters (bytes as stored)
    uint32_t type = Binary;
    std::string value; // the value's bytes, at most kMaxValue of them
    uint64_t size = 0; // the value's size as stored
};

// What the movie header and its tracks say, with the metadata items read.
struct MovieMetadata {
    static constexpr size_t kMaxTags = 256;
    static constexpr size_t kMaxValue = 1024;

    bool headerRead = false; // an mvhd was read
    char majorBrand[5] = {0, 0, 0, 0, 0};
    std::string compatibleBrands; // four characters each, as stored
    // mvhd's times, seconds since 1904-01-01 UTC; 0 when unset.
    uint64_t created = 0;
    uint64_t modified = 0;
    uint32_t timeScale = 0;
    uint64_t duration = 0; // in timeScale units
    uint32_t trackCount = 0;

    // The first video track: its size from tkhd (else its sample entry),
    // the rotation of its matrix, its sample entry's type ("avc1"), and its
    // frame rate (samples over the media's duration).
    bool hasVideo = false;
    uint32_t width = 0;
    uint32_t height = 0;
    int rotation = 0; // 0, 90, 180 or 270 degrees clockwise
    char codec[5] = {0, 0, 0, 0, 0};
    double frameRate = 0;
    char audioCodec[5] = {0, 0, 0, 0, 0};

    std::vector<MovieTag> tags;

    double DurationSeconds() const { return timeScale != 0 ? double(duration) / timeScale : 0; }
    // The first tag of that key, or null.
    const MovieTag* Find(const char* key) const {
        for (const MovieTag& tag : tags)
            if (tag.key == key)
                return &tag;
        return nullptr;
    }
};

// The name of a video or audio sample entry type: "avc1" → "H.264",
// "hvc1" → "HEVC"; null when not known.
const char* MovieCodecName(const char* sampleEntry);
