#include "metadata/containers/MovieBoxes.h"

#include "metadata/tiff/ByteOrder.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr size_t kMaxKeys = 1024;
constexpr size_t kMaxKeyName = 256;
constexpr uint64_t kMaxKeysBox = 64u << 10;
constexpr uint64_t kMaxXmp = 1u << 20;
constexpr unsigned char kXmpUuid[16] = {0xBE, 0x7A, 0xCF, 0xCB, 0x97, 0xA9, 0x42, 0xE8,
                                        0x9C, 0x71, 0x99, 0x94, 0x91, 0xE3, 0xAF, 0xAC};

// Visits the boxes in [from, end) one after another, at most
// kMaxBoxesPerLevel of them. Stops at the first header that lies (its error
// kept); fewer than 8 bytes left are QuickTime's closing zero, not an error.
template <typename Visit>
void ForEachBox(ByteSource& source, uint64_t from, uint64_t end, LocatedBlocks& found,
                Visit visit) {
    uint64_t at = from;
    for (int n = 0; n < kMaxBoxesPerLevel && at < end && end - at >= 8; ++n) {
        BoxHeader box;
        if (!ReadBoxHeader(source, at, end, false, box, found.error))
            return;
        at = box.end;
        visit(box);
    }
}

// Up to `want` bytes from the start of a box's content; how many were read.
size_t ReadHead(ByteSource& source, const BoxHeader& box, uint64_t skip, unsigned char* out,
                size_t want) {
    const uint64_t size = box.end - box.content;
    if (size <= skip)
        return 0;
    const size_t n = size - skip < want ? static_cast<size_t>(size - skip) : want;
    return source.ReadAt(box.content + skip, out, n) ? n : 0;
}

int32_t Signed32(const unsigned char* p) {
    return static_cast<int32_t>(Be32(p));
}

// The rotation a track's matrix {a b u; c d v; x y w} makes, in quarter turns
// clockwise; anything but a quarter turn (a mirror, a free angle) is none.
int MatrixRotation(const unsigned char* m) {
    const int32_t a = Signed32(m), b = Signed32(m + 4), c = Signed32(m + 12), d = Signed32(m + 16);
    if (a == 0 && d == 0 && b > 0 && c < 0)
        return 90;
    if (a < 0 && d < 0 && b == 0 && c == 0)
        return 180;
    if (a == 0 && d == 0 && b < 0 && c > 0)
        return 270;
    return 0;
}

struct Track {
    char handler[5] = {};
    char sampleEntry[5] = {};
    uint32_t width = 0, height = 0; // tkhd
    uint32_t entryWidth = 0, entryHeight = 0;
    int rotation = 0;
    uint32_t mediaTimeScale = 0;
    uint64_t mediaDuration = 0;
    uint32_t sampleCount = 0;
};

// Version 0 or 1 header times: creation, modification, time scale, duration
// (mvhd and mdhd share the layout).
bool ReadTimes(ByteSource& source, const BoxHeader& box, uint64_t& created, uint64_t& modified,
               uint32_t& scale, uint64_t& duration) {
    unsigned char b[32];
    const size_t n = ReadHead(source, box, 0, b, sizeof b);
    if (n >= 32 && b[0] == 1) {
        created = Be64(b + 4);
        modified = Be64(b + 12);
        scale = Be32(b + 20);
        duration = Be64(b + 24);
        return true;
    }
    if (n >= 20 && b[0] == 0) {
        created = Be32(b + 4);
        modified = Be32(b + 8);
        scale = Be32(b + 12);
        duration = Be32(b + 16);
        if (duration == UINT32_MAX) // "unknown"
            duration = 0;
        return true;
    }
    return false;
}

void ReadTrackHeader(ByteSource& source, const BoxHeader& box, Track& track) {
    unsigned char b[96];
    const size_t n = ReadHead(source, box, 0, b, sizeof b);
    if (n < 4)
        return;
    const size_t fields = b[0] == 1 ? 36 : 24; // version, flags, times, id, duration
    if (n < fields + 60)
        return;
    track.rotation = MatrixRotation(b + fields + 16);
    track.width = Be32(b + fields + 52) >> 16; // 16.16 fixed point
    track.height = Be32(b + fields + 56) >> 16;
}

void ReadSampleTable(ByteSource& source, const BoxHeader& stbl, Track& track,
                     LocatedBlocks& found) {
    ForEachBox(source, stbl.content, stbl.end, found, [&](const BoxHeader& box) {
        unsigned char b[44];
        if (box.Is("stsd")) {
            // Version and flags, the entry count, then the first entry's
            // size and type; a visual entry's size 24 bytes into it.
            const size_t n = ReadHead(source, box, 0, b, sizeof b);
            if (n >= 16 && Be32(b + 4) != 0) {
                std::memcpy(track.sampleEntry, b + 12, 4);
                if (n >= 44) {
                    track.entryWidth = Be16(b + 40);
                    track.entryHeight = Be16(b + 42);
                }
            }
        } else if (box.Is("stsz") || box.Is("stz2")) {
            if (ReadHead(source, box, 0, b, 12) == 12)
                track.sampleCount = Be32(b + 8);
        }
    });
}

void ReadMedia(ByteSource& source, const BoxHeader& mdia, Track& track, LocatedBlocks& found) {
    ForEachBox(source, mdia.content, mdia.end, found, [&](const BoxHeader& box) {
        if (box.Is("mdhd")) {
            uint64_t created = 0, modified = 0;
            ReadTimes(source, box, created, modified, track.mediaTimeScale, track.mediaDuration);
        } else if (box.Is("hdlr")) {
            unsigned char b[12];
            if (ReadHead(source, box, 0, b, sizeof b) == sizeof b)
                std::memcpy(track.handler, b + 8, 4);
        } else if (box.Is("minf")) {
            ForEachBox(source, box.content, box.end, found, [&](const BoxHeader& child) {
                if (child.Is("stbl"))
                    ReadSampleTable(source, child, track, found);
            });
        }
    });
}

class MovieReader {
public:
    MovieReader(ByteSource& source, LocatedBlocks& found)
        : m_source(source), m_found(found), m_movie(found.movie) {}

    void Read(const BoxHeader& moov) {
        ForEachBox(m_source, moov.content, moov.end, m_found, [&](const BoxHeader& box) {
            if (box.Is("mvhd")) {
                m_movie.headerRead = ReadTimes(m_source, box, m_movie.created, m_movie.modified,
                                               m_movie.timeScale, m_movie.duration);
            } else if (box.Is("trak")) {
                ReadTrack(box);
            } else if (box.Is("meta")) {
                ReadMeta(box);
            } else if (box.Is("udta")) {
                ReadUserData(box);
            }
        });
    }

private:
    void ReadTrack(const BoxHeader& trak) {
        ++m_movie.trackCount;
        Track track;
        ForEachBox(m_source, trak.content, trak.end, m_found, [&](const BoxHeader& box) {
            if (box.Is("tkhd"))
                ReadTrackHeader(m_source, box, track);
            else if (box.Is("mdia"))
                ReadMedia(m_source, box, track, m_found);
            else if (box.Is("udta"))
                ReadUserData(box);
            else if (box.Is("meta"))
                ReadMeta(box);
        });
        if (std::memcmp(track.handler, "vide", 4) == 0 && !m_movie.hasVideo) {
            m_movie.hasVideo = true;
            const bool header = track.width != 0 && track.height != 0;
            m_movie.width = header ? track.width : track.entryWidth;
            m_movie.height = header ? track.height : track.entryHeight;
            m_movie.rotation = track.rotation;
            std::memcpy(m_movie.codec, track.sampleEntry, 5);
            if (track.mediaTimeScale != 0 && track.mediaDuration != 0)
                m_movie.frameRate =
                    double(track.sampleCount) * track.mediaTimeScale / double(track.mediaDuration);
        } else if (std::memcmp(track.handler, "soun", 4) == 0 && m_movie.audioCodec[0] == 0) {
            std::memcpy(m_movie.audioCodec, track.sampleEntry, 5);
        }
    }

    MovieTag* AddTag(std::string key, uint32_t type, uint64_t size) {
        if (m_movie.tags.size() >= MovieMetadata::kMaxTags)
            return nullptr;
        MovieTag& tag = m_movie.tags.emplace_back();
        tag.key = std::move(key);
        tag.type = type;
        tag.size = size;
        return &tag;
    }

    // Reads a value's bytes (at most kMaxValue) from [at, end).
    void AddValue(std::string key, uint32_t type, uint64_t at, uint64_t end) {
        const uint64_t size = end - at;
        MovieTag* tag = AddTag(std::move(key), type, size);
        if (tag == nullptr)
            return;
        const size_t n =
            size < MovieMetadata::kMaxValue ? static_cast<size_t>(size) : MovieMetadata::kMaxValue;
        tag->value.resize(n);
        if (n != 0 && !m_source.ReadAt(at, reinterpret_cast<unsigned char*>(tag->value.data()), n))
            tag->value.clear();
    }

    void ReadBytes(const BoxHeader& box, uint64_t limit, ReadBuffer& out) {
        const uint64_t size = box.end - box.content;
        if (size > limit) {
            m_found.error = "Metadata box too large";
            return;
        }
        out.resize(static_cast<size_t>(size));
        if (!m_source.ReadAt(box.content, out.data(), out.size()))
            out.clear();
    }

    void Picture(uint64_t at, uint64_t length, const char* coding) {
        if (length > m_found.preview.extent.length) {
            m_found.preview.extent = {at, length};
            std::memcpy(m_found.preview.coding, coding, 5);
        }
    }

    // QuickTime's meta box has no version and flags; ISO's has them.
    void ReadMeta(const BoxHeader& meta) {
        unsigned char b[8];
        if (ReadHead(m_source, meta, 0, b, sizeof b) != sizeof b)
            return;
        const uint64_t first = std::memcmp(b + 4, "hdlr", 4) == 0 ? meta.content : meta.content + 4;
        std::vector<std::string> keys;
        ForEachBox(m_source, first, meta.end, m_found, [&](const BoxHeader& box) {
            if (box.Is("keys"))
                ReadKeys(box, keys);
            else if (box.Is("ilst"))
                ReadItemList(box, keys);
        });
    }

    // Version and flags, the count, then each key: its size, namespace and
    // name.
    void ReadKeys(const BoxHeader& box, std::vector<std::string>& keys) {
        ReadBuffer data;
        ReadBytes(box, kMaxKeysBox, data);
        if (data.size() < 8)
            return;
        const uint32_t count = Be32(data.data() + 4);
        size_t at = 8;
        for (uint32_t i = 0; i < count && keys.size() < kMaxKeys && data.size() - at >= 8; ++i) {
            const uint32_t size = Be32(data.data() + at);
            if (size < 8 || size > data.size() - at)
                break;
            const size_t length = size - 8 < kMaxKeyName ? size - 8 : kMaxKeyName;
            keys.emplace_back(reinterpret_cast<const char*>(data.data() + at + 8), length);
            at += size;
        }
    }

    // Each item: its type (a key's index counted from 1, or four
    // characters), then a 'data' box (type, locale, value); a '----' item
    // names itself in a 'name' box.
    void ReadItemList(const BoxHeader& ilst, const std::vector<std::string>& keys) {
        ForEachBox(m_source, ilst.content, ilst.end, m_found, [&](const BoxHeader& item) {
            const uint32_t index = Be32(reinterpret_cast<const unsigned char*>(item.type));
            std::string key = !keys.empty() && index >= 1 && index <= keys.size()
                                  ? keys[index - 1]
                                  : std::string(item.type, 4);
            ForEachBox(m_source, item.content, item.end, m_found, [&](const BoxHeader& box) {
                unsigned char b[8];
                if (box.Is("name") && ReadHead(m_source, box, 0, b, 4) == 4) {
                    const uint64_t n = box.end - box.content - 4;
                    std::string name(static_cast<size_t>(n < kMaxKeyName ? n : kMaxKeyName), '\0');
                    if (m_source.ReadAt(box.content + 4,
                                        reinterpret_cast<unsigned char*>(name.data()), name.size()))
                        key = std::move(name);
                } else if (box.Is("data") && ReadHead(m_source, box, 0, b, 8) == 8) {
                    const uint32_t type = Be32(b) & 0xFFFFFF;
                    const uint64_t at = box.content + 8;
                    if (type == MovieTag::Jpeg || type == MovieTag::Png) {
                        AddTag(key, type, box.end - at);
                        Picture(at, box.end - at, type == MovieTag::Jpeg ? "jpeg" : "png ");
                    } else {
                        AddValue(key, type, at, box.end);
                    }
                }
            });
        });
    }

    void ReadUserData(const BoxHeader& udta) {
        ForEachBox(m_source, udta.content, udta.end, m_found, [&](const BoxHeader& box) {
            unsigned char b[8];
            const std::string key(box.type, 4);
            if (static_cast<unsigned char>(box.type[0]) == 0xA9) {
                // QuickTime's text list: the first text's size and language.
                if (ReadHead(m_source, box, 0, b, 4) != 4)
                    return;
                const uint64_t room = box.end - box.content - 4;
                const uint64_t size = Be16(b) < room ? Be16(b) : room;
                // Language codes below 0x400 are Macintosh ones, in Mac Roman.
                const uint32_t type = Be16(b + 2) < 0x400 ? MovieTag::MacText : MovieTag::Utf8;
                AddValue(key, type, box.content + 4, box.content + 4 + size);
            } else if (box.Is("titl") || box.Is("auth") || box.Is("dscp") || box.Is("perf") ||
                       box.Is("gnre") || box.Is("cprt") || box.Is("albm")) {
                // 3GPP's texts: version and flags, language, then the text.
                if (box.end - box.content < 6 || ReadHead(m_source, box, 6, b, 2) < 2)
                    return;
                const bool utf16 = b[0] == 0xFE && b[1] == 0xFF;
                AddValue(key, utf16 ? MovieTag::Utf16 : MovieTag::Utf8, box.content + 6, box.end);
            } else if (box.Is("date")) {
                AddValue(key, MovieTag::Utf8, box.content, box.end);
            } else if (box.Is("loci")) {
                ReadLocation(box);
            } else if (box.Is("meta")) {
                ReadMeta(box);
            } else if (box.Is("XMP_")) {
                if (!m_found.recordOnly && m_found.xmp.empty())
                    ReadBytes(box, kMaxXmp, m_found.xmp);
            } else if (box.Is("thmb")) {
                FindBoxJpeg(m_source, box, m_found);
            }
        });
    }

    // 3GPP's location: version and flags, language, a name ended by a zero,
    // the role, then longitude, latitude and altitude in 16.16 fixed point.
    // Kept as an ISO 6709 text, the form every other position comes in.
    void ReadLocation(const BoxHeader& box) {
        unsigned char b[300];
        const size_t n = ReadHead(m_source, box, 0, b, sizeof b);
        size_t at = 6;
        while (at < n && b[at] != 0)
            ++at;
        at += 2; // the zero and the role
        if (at > n || n - at < 12)
            return;
        const double longitude = Signed32(b + at) / 65536.0;
        const double latitude = Signed32(b + at + 4) / 65536.0;
        const double altitude = Signed32(b + at + 8) / 65536.0;
        char text[64];
        const int length = std::snprintf(text, sizeof text, "%+09.5f%+010.5f%+.3f/", latitude,
                                         longitude, altitude);
        MovieTag* tag = AddTag("loci", MovieTag::Position, box.end - box.content);
        if (tag != nullptr && length > 0 && size_t(length) < sizeof text)
            tag->value.assign(text, size_t(length));
    }

    ByteSource& m_source;
    LocatedBlocks& m_found;
    MovieMetadata& m_movie;
};

} // namespace

void ReadMovieBox(ByteSource& source, const BoxHeader& moov, LocatedBlocks& found) {
    MovieReader(source, found).Read(moov);
}

bool IsXmpUuid(ByteSource& source, const BoxHeader& uuid) {
    unsigned char id[16];
    return uuid.end - uuid.content >= 16 && source.ReadAt(uuid.content, id, 16) &&
           std::memcmp(id, kXmpUuid, 16) == 0;
}
