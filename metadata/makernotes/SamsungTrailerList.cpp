#include "metadata/makernotes/SamsungTrailerList.h"

#include "metadata/makernotes/MakerNoteList.h"
#include "metadata/tags/TagText.h"

#include <cstdio>
#include <ctime>
#include <string_view>

namespace {

constexpr uint16_t kTimeStamp = 0x0A01;
constexpr uint16_t kEmbeddedVideo = 0x0A30;
constexpr uint16_t kCountryCode = 0x0AA1;
constexpr uint16_t kTypeUndefined = 7;

// The data as a whole number when it is only decimal digits (at most 15).
bool DigitsValue(const std::vector<unsigned char>& data, uint64_t& value) {
    if (data.empty() || data.size() > 15)
        return false;
    value = 0;
    for (const unsigned char c : data) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

bool Printable(const std::vector<unsigned char>& data) {
    for (const unsigned char c : data)
        if (c < 0x20 || c > 0x7E)
            return false;
    return !data.empty();
}

// "2023:12:12 17:39:16.576+00:00"; empty past the year 9999.
std::string UtcText(uint64_t milliseconds) {
    constexpr uint64_t kYear10000 = 253402300800000;
    if (milliseconds >= kYear10000)
        return {};
    const auto seconds = static_cast<time_t>(milliseconds / 1000);
    std::tm utc{};
    if (gmtime_r(&seconds, &utc) == nullptr)
        return {};
    char text[40];
    std::snprintf(text, sizeof text, "%04d:%02d:%02d %02d:%02d:%02d.%03u+00:00", utc.tm_year + 1900,
                  utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec,
                  static_cast<unsigned>(milliseconds % 1000));
    return text;
}

MetadataEntry* Add(MetadataCollector& out, uint16_t type, std::string_view name, uint32_t length) {
    MetadataEntry* e = out.Append();
    if (e == nullptr)
        return nullptr;
    e->group.assign("Samsung");
    e->id = type;
    if (name.empty())
        e->name = MakerTagId(type);
    else
        e->name.SetConstant(name);
    e->type = kTypeUndefined;
    e->count = length;
    return e;
}

void SetSize(MetadataEntry& e, uint32_t length) {
    e.rawOverride = "(" + std::to_string(length) + " bytes)";
    e.text = e.rawOverride;
}

} // namespace

void ListSamsungTrailer(std::span<const SamsungTrailerBlock> blocks, MetadataCollector& out) {
    for (const SamsungTrailerBlock& block : blocks) {
        const bool whole = block.data.size() == block.length;
        uint64_t number = 0;
        const bool digits = whole && DigitsValue(block.data, number);
        std::string when = block.type == kTimeStamp && digits ? UtcText(number) : std::string();
        MetadataEntry* e = nullptr;
        if (!when.empty()) {
            if ((e = Add(out, block.type, "TimeStamp", block.length)))
                SetEntryText(*e, std::move(when));
        } else if (block.type == kCountryCode && digits) {
            if ((e = Add(out, block.type, "MCCData", block.length))) {
                e->value.kind = MetadataValue::Kind::Numbers;
                e->value.numbers.push_back(static_cast<double>(number));
                e->text = RawText(*e);
            }
        } else if (block.type == kEmbeddedVideo) {
            if ((e = Add(out, block.type, "EmbeddedVideoType", block.length)))
                SetEntryText(*e, std::string(block.name));
            if ((e = Add(out, block.type, "EmbeddedVideoFile", block.length)))
                SetSize(*e, block.length);
        } else if ((e = Add(out, block.type, {}, block.length))) {
            if (whole && Printable(block.data))
                SetEntryText(*e, std::string(block.data.begin(), block.data.end()));
            else
                SetSize(*e, block.length);
        }
        if (out.Full())
            return;
    }
}
