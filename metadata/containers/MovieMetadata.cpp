#include "metadata/containers/MovieMetadata.h"

#include <cstring>

namespace {

struct CodecName {
    char entry[5];
    const char* name;
};

constexpr CodecName kCodecs[] = {
    {"avc1", "H.264"},
    {"avc3", "H.264"},
    {"hvc1", "HEVC"},
    {"hev1", "HEVC"},
    {"dvh1", "HEVC (Dolby Vision)"},
    {"dvhe", "HEVC (Dolby Vision)"},
    {"av01", "AV1"},
    {"vp08", "VP8"},
    {"vp09", "VP9"},
    {"mp4v", "MPEG-4 Visual"},
    {"s263", "H.263"},
    {"h263", "H.263"},
    {"apch", "ProRes 422 HQ"},
    {"apcn", "ProRes 422"},
    {"apcs", "ProRes 422 LT"},
    {"apco", "ProRes 422 Proxy"},
    {"ap4h", "ProRes 4444"},
    {"ap4x", "ProRes 4444 XQ"},
    {"jpeg", "Motion JPEG"},
    {"mjpa", "Motion JPEG"},
    {"mjpb", "Motion JPEG"},
    {"mp4a", "AAC"},
    {"samr", "AMR"},
    {"sawb", "AMR-WB"},
    {"ac-3", "AC-3"},
    {"ec-3", "E-AC-3"},
    {"alac", "Apple Lossless"},
    {"Opus", "Opus"},
    {"lpcm", "PCM"},
    {"sowt", "PCM"},
    {"twos", "PCM"},
};

} // namespace

const char* MovieCodecName(const char* sampleEntry) {
    for (const CodecName& codec : kCodecs)
        if (std::memcmp(codec.entry, sampleEntry, 4) == 0)
            return codec.name;
    return nullptr;
}
