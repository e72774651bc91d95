#include "metadata/tags/QuickTimeEntries.h"

#include "metadata/MovieRecord.h"
#include "metadata/tags/Iso6709.h"
#include "metadata/tags/TagText.h"
#include "metadata/tags/TextEncoding.h"
#include "metadata/tiff/ByteOrder.h"

#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

struct ItemName {
    const char* key;
    const char* name;
};

// Our names of the items people look for; others keep their key.
constexpr ItemName kItemNames[] = {
    {"com.apple.quicktime.make", "Make"},
    {"com.apple.quicktime.model", "Model"},
    {"com.apple.quicktime.software", "Software"},
    {"com.apple.quicktime.creationdate", "CreationDate"},
    {"com.apple.quicktime.location.ISO6709", kMoviePositionName},
    {"com.apple.quicktime.location.accuracy.horizontal", "LocationAccuracyHorizontal"},
    {"com.apple.quicktime.content.identifier", "ContentIdentifier"},
    {"com.apple.quicktime.live-photo.auto", "LivePhotoAuto"},
    {"com.apple.quicktime.title", "Title"},
    {"com.apple.quicktime.description", "Description"},
    {"com.apple.quicktime.author", "Author"},
    {"com.apple.quicktime.comment", "Comment"},
    {"com.android.manufacturer", "Make"},
    {"com.android.model", "Model"},
    {"com.android.version", "AndroidVersion"},
    {"com.android.capture.fps", "AndroidCaptureFPS"},
    {"\xA9"
     "mak",
     "Make"},
    {"\xA9"
     "mod",
     "Model"},
    {"\xA9"
     "xyz",
     kMoviePositionName},
    {"\xA9"
     "day",
     "ContentCreateDate"},
    {"\xA9"
     "nam",
     "Title"},
    {"\xA9"
     "swr",
     "SoftwareVersion"},
    {"\xA9"
     "too",
     "Encoder"},
    {"\xA9"
     "enc",
     "EncodedBy"},
    {"\xA9"
     "cmt",
     "Comment"},
    {"\xA9"
     "des",
     "Description"},
    {"\xA9"
     "inf",
     "Information"},
    {"\xA9"
     "ART",
     "Artist"},
    {"\xA9"
     "alb",
     "Album"},
    {"\xA9"
     "fmt",
     "Format"},
    {"titl", "Title"},
    {"auth", "Author"},
    {"dscp", "Description"},
    {"desc", "Description"},
    {"perf", "Performer"},
    {"gnre", "Genre"},
    {"cprt", "Copyright"},
    {"albm", "Album"},
    {"date", "DateTimeOriginal"},
    {"loci", kMoviePositionName},
    {"covr", "CoverArt"},
};

// A key as people read it: a table's name, else the key itself in UTF-8
// (the copyright sign of "©mak" is one Latin-1 byte in the file).
void NameEntry(MetadataEntry& e, const std::string& key) {
    for (const ItemName& item : kItemNames)
        if (key == item.key) {
            e.name.SetConstant(item.name);
            return;
        }
    e.name = Utf8OrLatin1(reinterpret_cast<const uint8_t*>(key.data()), key.size());
}

std::string FourCharacters(const char* code) {
    return Utf8OrLatin1(reinterpret_cast<const uint8_t*>(code), std::strlen(code));
}

MetadataEntry* Add(MetadataCollector& out, const char* name) {
    MetadataEntry* e = out.Append();
    if (e != nullptr) {
        e->group = kQuickTimeGroup;
        e->name.SetConstant(name);
    }
    return e;
}

MetadataEntry* AddText(MetadataCollector& out, const char* name, std::string text) {
    MetadataEntry* e = Add(out, name);
    if (e != nullptr) {
        e->value.kind = MetadataValue::Kind::Text;
        e->value.text = std::move(text);
        e->count = 1;
    }
    return e;
}

// A sample entry's type, with the codec's name for people when known.
void AddCodec(MetadataCollector& out, const char* name, const char* entry) {
    MetadataEntry* e = AddText(out, name, FourCharacters(entry));
    if (e != nullptr && MovieCodecName(entry) != nullptr)
        e->text = MovieCodecName(entry);
}

MetadataEntry* AddNumber(MetadataCollector& out, const char* name, double value) {
    MetadataEntry* e = Add(out, name);
    if (e != nullptr) {
        e->value.kind = MetadataValue::Kind::Numbers;
        e->value.numbers.push_back(value);
        e->count = 1;
    }
    return e;
}

std::string DurationText(double seconds) {
    char text[48];
    if (seconds < 60) {
        std::snprintf(text, sizeof text, "%.2f s", seconds);
    } else {
        const auto whole = static_cast<unsigned long long>(seconds + 0.5);
        std::snprintf(text, sizeof text, "%llu:%02llu:%02llu", whole / 3600, whole / 60 % 60,
                      whole % 60);
    }
    return text;
}

void SetPosition(MetadataEntry& e, const std::string& text) {
    e.value.kind = MetadataValue::Kind::Text;
    e.value.text = Utf8OrLatin1(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    const std::optional<GpsPosition> position = ParseIso6709(text);
    if (!position)
        return;
    e.rawOverride = e.value.text;
    e.value.kind = MetadataValue::Kind::Numbers;
    e.value.text.clear();
    e.value.numbers.push_back(position->latitude);
    e.value.numbers.push_back(position->longitude);
    e.text = DmsText(position->latitude, true) + ", " + DmsText(position->longitude, false);
    if (position->altitude) {
        e.value.numbers.push_back(*position->altitude);
        e.text += *position->altitude < 0
                      ? ", " + NumberText(-*position->altitude) + " m below sea level"
                      : ", " + NumberText(*position->altitude) + " m";
    }
    e.count = static_cast<uint32_t>(e.value.numbers.size());
}

// A big-endian integer or float of an item's 'data' box.
bool SetNumber(MetadataEntry& e, const MovieTag& tag) {
    const auto* p = reinterpret_cast<const unsigned char*>(tag.value.data());
    const size_t n = tag.value.size();
    double v;
    if (tag.type == MovieTag::Float32 && n == 4) {
        const uint32_t bits = Be32(p);
        float f;
        std::memcpy(&f, &bits, 4);
        v = f;
    } else if (tag.type == MovieTag::Float64 && n == 8) {
        const uint64_t bits = Be64(p);
        std::memcpy(&v, &bits, 8);
    } else if ((tag.type == MovieTag::SignedInt || tag.type == MovieTag::UnsignedInt) &&
               (n == 1 || n == 2 || n == 4 || n == 8)) {
        uint64_t u = 0;
        for (size_t i = 0; i < n; ++i)
            u = (u << 8) | p[i];
        if (tag.type == MovieTag::SignedInt && n < 8 && (p[0] & 0x80) != 0)
            u |= ~uint64_t{0} << (8 * n); // sign-extended
        v = tag.type == MovieTag::SignedInt ? double(static_cast<int64_t>(u)) : double(u);
    } else {
        return false;
    }
    e.value.kind = MetadataValue::Kind::Numbers;
    e.value.numbers.push_back(v);
    return true;
}

// A text longer than was kept says so where people read it.
void MarkTruncated(MetadataEntry& e, bool truncated) {
    e.value.truncated = truncated;
    if (truncated)
        e.text = e.value.text + " …";
}

void SetValue(MetadataEntry& e, const MovieTag& tag) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(tag.value.data());
    e.count = static_cast<uint32_t>(tag.size < UINT32_MAX ? tag.size : UINT32_MAX);
    const bool truncated = tag.size > tag.value.size();
    if (e.name == kMoviePositionName) {
        SetPosition(e, MovieTagBytes(tag));
        return;
    }
    switch (tag.type) {
    case MovieTag::Utf8:
    case MovieTag::MacText:
    case MovieTag::Position: {
        const std::string text = MovieTagBytes(tag);
        e.value.kind = MetadataValue::Kind::Text;
        e.value.text = Utf8OrLatin1(reinterpret_cast<const uint8_t*>(text.data()), text.size());
        MarkTruncated(e, truncated);
        return;
    }
    case MovieTag::Utf16: {
        size_t skip = tag.value.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF ? 2 : 0;
        size_t n = tag.value.size() - skip;
        while (n >= 2 && bytes[skip + n - 1] == 0 && bytes[skip + n - 2] == 0)
            n -= 2;
        e.value.kind = MetadataValue::Kind::Text;
        e.value.text = Utf16ToUtf8(bytes + skip, n, true);
        MarkTruncated(e, truncated);
        return;
    }
    case MovieTag::Jpeg:
    case MovieTag::Png:
        e.value.kind = MetadataValue::Kind::None;
        e.rawOverride = "(" + std::to_string(tag.size) + " bytes)";
        e.text = std::string(tag.type == MovieTag::Jpeg ? "JPEG" : "PNG") + " picture, " +
                 std::to_string(tag.size) + " bytes";
        return;
    default:
        if (SetNumber(e, tag))
            return;
        e.value.kind = MetadataValue::Kind::Bytes;
        e.value.bytes.assign(bytes, bytes + (tag.value.size() < MetadataValue::kMaxKeptBytes
                                                 ? tag.value.size()
                                                 : MetadataValue::kMaxKeptBytes));
        e.value.truncated = tag.size > e.value.bytes.size();
        e.rawOverride = "(" + std::to_string(tag.size) + " bytes)";
        return;
    }
}

void ListHeader(const MovieMetadata& movie, MetadataCollector& out) {
    if (movie.majorBrand[0] != '\0')
        AddText(out, "MajorBrand", FourCharacters(movie.majorBrand));
    if (!movie.compatibleBrands.empty()) {
        std::string brands;
        for (size_t at = 0; at + 4 <= movie.compatibleBrands.size(); at += 4) {
            if (!brands.empty())
                brands += ", ";
            brands += Utf8OrLatin1(
                reinterpret_cast<const uint8_t*>(movie.compatibleBrands.data() + at), 4);
        }
        AddText(out, "CompatibleBrands", brands);
    }
    if (!movie.headerRead)
        return;
    if (std::string created = MovieTimeText(movie.created); !created.empty())
        AddText(out, "CreateDate", std::move(created));
    if (std::string modified = MovieTimeText(movie.modified); !modified.empty())
        AddText(out, "ModifyDate", std::move(modified));
    AddNumber(out, "TimeScale", movie.timeScale);
    if (movie.timeScale != 0)
        if (MetadataEntry* e = AddNumber(out, "Duration", movie.DurationSeconds()))
            e->text = DurationText(movie.DurationSeconds());
    AddNumber(out, "TrackCount", movie.trackCount);
}

void ListVideo(const MovieMetadata& movie, MetadataCollector& out) {
    if (!movie.hasVideo)
        return;
    AddNumber(out, "ImageWidth", movie.width);
    AddNumber(out, "ImageHeight", movie.height);
    if (MetadataEntry* e = AddNumber(out, "Rotation", movie.rotation))
        e->text = movie.rotation == 0 ? "None" : std::to_string(movie.rotation) + "° clockwise";
    if (movie.frameRate > 0)
        if (MetadataEntry* e = AddNumber(out, "VideoFrameRate", movie.frameRate)) {
            char text[32];
            std::snprintf(text, sizeof text, "%.3f", movie.frameRate);
            std::string s = text;
            while (s.back() == '0')
                s.pop_back();
            if (s.back() == '.')
                s.pop_back();
            e->text = s + " frames/s";
        }
    if (movie.codec[0] != '\0')
        AddCodec(out, "VideoCodec", movie.codec);
}

} // namespace

void ListMovieEntries(const MovieMetadata& movie, MetadataCollector& out) {
    const size_t first = out.Entries().size();
    ListHeader(movie, out);
    ListVideo(movie, out);
    if (movie.audioCodec[0] != '\0')
        AddCodec(out, "AudioCodec", movie.audioCodec);
    for (const MovieTag& tag : movie.tags) {
        MetadataEntry* e = out.Append();
        if (e == nullptr)
            break;
        e->group = kQuickTimeGroup;
        NameEntry(*e, tag.key);
        SetValue(*e, tag);
    }
    // Values without a text of their own are shown as they are.
    std::vector<MetadataEntry>& entries = out.Entries();
    for (size_t i = first; i < entries.size(); ++i)
        if (entries[i].text.empty())
            entries[i].text = RawText(entries[i]);
}
