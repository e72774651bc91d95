#include "metadata/makernotes/LensNames.h"
#include "tests/tools/TestJson.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <string_view>

// The lens numbers of real photos against the names exiftool printed for them:
// our keys must be the numbers the cameras write. Skipped without the corpus.
namespace {

const std::string kCorpus = VELMORA_CORPUS_DIR;

struct NumberTag {
    const char* tag; // in the readings of numbers (NAME.mn.json) and texts (NAME.mntxt.json)
    LensTable table;
};

const NumberTag kNumberTags[] = {
    {"MakerNotes:Canon:LensType", LensTable::Canon},
    {"MakerNotes:Canon:RFLensType", LensTable::CanonRf},
    {"MakerNotes:Sony:LensType", LensTable::Minolta},
    {"MakerNotes:Sony:LensType2", LensTable::Sony},
    {"MakerNotes:Pentax:LensType", LensTable::Pentax},
    {"MakerNotes:Olympus:LensType", LensTable::Olympus},
};

bool ReadJson(const std::filesystem::path& path, testjson::Value& out) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::string error;
    return in && testjson::Parse(text.str(), out, error) && out.items.size() == 1;
}

// "3 23" (Pentax, decimal) and "0 23 00" (Olympus, hex) as exiftool writes them.
bool ByteKey(const std::string& text, int base, uint64_t& key) {
    std::istringstream in(text);
    std::string part;
    key = 0;
    int count = 0;
    while (in >> part && count < 8) {
        key = key << 8 | (std::strtoul(part.c_str(), nullptr, base) & 0xFF);
        ++count;
    }
    return count > 0;
}

bool Key(const testjson::Value& number, LensTable table, uint64_t& key) {
    const testjson::Value* value = number.Find("val");
    if (value == nullptr)
        return false;
    if (value->type == testjson::Value::Type::Number) {
        key = static_cast<uint64_t>(value->number);
        return true;
    }
    if (value->type != testjson::Value::Type::String)
        return false;
    return ByteKey(value->text, table == LensTable::Pentax ? 10 : 16, key);
}

// Nikon's eight lens-data bytes back from the values exiftool gives: f-stops
// in twelfths, focal lengths as 5mm * 2^(n/24), apertures as 2^(n/24).
bool NikonKey(const testjson::Value& numbers, uint64_t& key) {
    const char* const fields[] = {"LensIDNumber",
                                  "LensFStops",
                                  "MinFocalLength",
                                  "MaxFocalLength",
                                  "MaxApertureAtMinFocal",
                                  "MaxApertureAtMaxFocal",
                                  "MCUVersion",
                                  "LensType"};
    key = 0;
    for (int i = 0; i < 8; ++i) {
        const testjson::Value* field = numbers.Find(std::string("MakerNotes:Nikon:") + fields[i]);
        const testjson::Value* value = field ? field->Find("val") : nullptr;
        if (value == nullptr || value->type != testjson::Value::Type::Number)
            return false;
        double raw = value->number;
        if (i == 1)
            raw *= 12;
        else if (i == 2 || i == 3)
            raw = 24 * std::log2(raw / 5);
        else if (i == 4 || i == 5)
            raw = 24 * std::log2(raw);
        key = key << 8 | (static_cast<uint64_t>(std::lround(raw)) & 0xFF);
    }
    return true;
}

TEST(LensCorpus, PrintedLensTypesAreOurNamesForTheNumbers) {
    if (!std::filesystem::is_directory(kCorpus + "/dev-makernotes"))
        GTEST_SKIP() << "no corpus at " << kCorpus;
    int compared = 0;
    for (const char* folder : {"dev-makernotes", "formats-makernotes", "more-oracle"}) {
        const std::filesystem::path dir = kCorpus + "/" + folder;
        if (!std::filesystem::is_directory(dir))
            continue;
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            const std::string path = entry.path().string();
            if (!path.ends_with(".mn.json"))
                continue;
            testjson::Value numbers, texts;
            const std::string textPath = path.substr(0, path.size() - 8) + ".mntxt.json";
            if (!ReadJson(path, numbers) || !ReadJson(textPath, texts))
                continue;
            for (const NumberTag& tag : kNumberTags) {
                const testjson::Value* number = numbers.items[0].Find(tag.tag);
                const testjson::Value* text = texts.items[0].Find(tag.tag);
                uint64_t key = 0;
                if (number == nullptr || text == nullptr || !Key(*number, tag.table, key))
                    continue;
                const LensCandidates found = FindLenses(tag.table, key);
                // exiftool prints "n/a" or "None" for the numbers our tables leave out.
                const std::string expected = text->text;
                const std::string ours = found.empty() ? "" : std::string(found.front().name);
                if (ours.empty() && (expected == "n/a" || expected == "None"))
                    continue;
                EXPECT_EQ(ours, expected) << path << " " << tag.tag << " " << key;
                ++compared;
            }
            const testjson::Value* lensId = texts.items[0].Find("Composite:LensID");
            uint64_t key = 0;
            if (lensId != nullptr && NikonKey(numbers.items[0], key)) {
                const LensCandidates found = FindLenses(LensTable::Nikon, key);
                const std::string_view ours = found.empty() ? "" : found.front().name;
                EXPECT_EQ(ours, lensId->text) << path << " " << std::hex << key;
                ++compared;
            }
        }
    }
    RecordProperty("compared", compared);
    EXPECT_GT(compared, 0);
}

} // namespace
