// Every tag of real photo files, read the way `velmora-tags --all` reads
// them, beside exiftool's readings: every entry exiftool lists in IFD0,
// ExifIFD, GPS, InteropIFD, IFD1 (and a raw file's SubIFDs and further
// IFDs) must be listed under the same group and number, with the same value
// where both are one number or a text. The files stay outside the
// repository; without them the check is skipped.
#include "metadata/tags/TagText.h"
#include "presentation/FileInspection.h"
#include "tests/metadata/tags/AllTagsKnownDisagreements.h"
#include "tests/metadata/tags/ExiftoolTagIds.h"
#include "tests/tools/TestJson.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kCorpus = VELMORA_CORPUS_DIR;

struct CorpusFolder {
    const char* files;
    const char* readings;
    bool jpegOnly;
};
constexpr CorpusFolder kFolders[] = {{"dev", "dev-oracle", true},
                                     {"formats", "formats-oracle", false}};

std::vector<std::string> Files(const std::string& folder, bool jpegOnly) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name[0] == '.')
                continue;
            if (!jpegOnly || (name.size() > 4 && name.compare(name.size() - 4, 4, ".jpg") == 0))
                names.push_back(name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool LoadReading(const std::string& path, testjson::Value& tags, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    testjson::Value document;
    if (!testjson::Parse(text.str(), document, error))
        return false;
    if (document.type != testjson::Value::Type::Array || document.items.size() != 1) {
        error = path + ": not a list of one object";
        return false;
    }
    tags = std::move(document.items[0]);
    return true;
}

bool AllDigits(const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return std::isdigit(c); });
}

// exiftool's EXIF directory groups: IFD0, ExifIFD, GPS, InteropIFD, the
// IFD0 chain (IFD1, IFD2...) and a raw file's SubIFD, SubIFD1...; ours are
// named alike.
bool IsDirectoryGroup(const std::string& g) {
    return g == "ExifIFD" || g == "GPS" || g == "InteropIFD" || g == "SubIFD" ||
           (g.compare(0, 3, "IFD") == 0 && AllDigits(g.substr(3))) ||
           (g.compare(0, 6, "SubIFD") == 0 && AllDigits(g.substr(6)));
}

// exiftool lists the picture an offset and length point at beside them,
// without its being an entry; Panasonic's RW2 alone has a JpgFromRaw entry.
bool IsDerived(const std::string& name, PhotoFormat format) {
    if (name == "JpgFromRaw")
        return format != PhotoFormat::Rw2 && format != PhotoFormat::PanasonicRaw;
    return name == "ThumbnailImage" || name == "PreviewImage" || name == "OtherImage" ||
           name == "ThumbnailTIFF";
}

// Where picture data lies in the file.
bool IsOffset(const std::string& name) {
    return name == "StripOffsets" || name == "TileOffsets" || name == "ThumbnailOffset" ||
           name == "PreviewImageStart" || name == "JpgFromRawStart" || name == "OtherImageStart" ||
           name == "RawDataOffset";
}

// Formats whose EXIF block is walked as the file stores it, so that its
// offsets differ from exiftool's (counted from the file's start) by where
// the block starts. TIFF and raw files are walked from a compact copy of
// their directories: their offsets are only checked to be listed.
bool KeepsBlockAsStored(PhotoFormat f) {
    switch (f) {
    case PhotoFormat::Jpeg:
    case PhotoFormat::Heic:
    case PhotoFormat::Heif:
    case PhotoFormat::Avif:
    case PhotoFormat::Jxl:
    case PhotoFormat::Png:
    case PhotoFormat::WebpLossy:
    case PhotoFormat::WebpLossless:
        return true;
    default:
        return false;
    }
}

bool NumbersAgree(double ours, double theirs) {
    // exiftool prints about ten significant digits.
    return std::fabs(ours - theirs) <= 1e-8 * std::max(1.0, std::fabs(theirs));
}

// exiftool gives the APEX values converted even when asked for numbers: as
// seconds and f-numbers.
double AsExiftoolGivesIt(const MetadataEntry& e, double v) {
    if (e.group == "ExifIFD" && e.id == 0x9201)
        return std::pow(2.0, -v);
    if (e.group == "ExifIFD" && (e.id == 0x9202 || e.id == 0x9205))
        return std::pow(2.0, v / 2);
    return v;
}

// exiftool drops the trailing spaces of some texts.
std::string WithoutTrailingSpaces(std::string s) {
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

// False when they disagree; `compared` when both were one number or a text.
bool Compare(const MetadataEntry& ours, const testjson::Value& theirs, std::string& mine,
             bool& compared) {
    compared = false;
    if (theirs.type == testjson::Value::Type::Number) {
        double v;
        if (ours.value.IsSingleNumber()) {
            v = ours.value.numbers[0];
            mine = RawText(ours);
        } else if (ours.value.kind == MetadataValue::Kind::Text && !ours.value.text.empty()) {
            char* end = nullptr;
            v = std::strtod(ours.value.text.c_str(), &end);
            mine = ours.value.text;
            if (*end != '\0')
                return true;
        } else {
            return true;
        }
        compared = true;
        return NumbersAgree(AsExiftoolGivesIt(ours, v), theirs.number);
    }
    // exiftool writes some single numbers as texts ("0.00506577951035551").
    if (theirs.type == testjson::Value::Type::String && ours.value.IsSingleNumber() &&
        !theirs.text.empty()) {
        char* end = nullptr;
        const double v = std::strtod(theirs.text.c_str(), &end);
        if (*end != '\0')
            return true;
        compared = true;
        mine = RawText(ours);
        return NumbersAgree(AsExiftoolGivesIt(ours, ours.value.numbers[0]), v);
    }
    if (theirs.type == testjson::Value::Type::String &&
        ours.value.kind == MetadataValue::Kind::Text) {
        compared = true;
        mine = ours.value.text;
        return mine == theirs.text || WithoutTrailingSpaces(mine) == theirs.text;
    }
    return true;
}

// exiftool's numbers of an offset value: one number, or several in a text.
std::vector<double> Numbers(const testjson::Value& v) {
    if (v.type == testjson::Value::Type::Number)
        return {v.number};
    std::vector<double> numbers;
    std::istringstream in(v.text);
    for (double n; in >> n;)
        numbers.push_back(n);
    return numbers;
}

// exiftool's note in place of a long list: "(Binary data 227 bytes, ...)".
bool IsBinaryNote(const testjson::Value& v) {
    return v.type == testjson::Value::Type::String && v.text.compare(0, 13, "(Binary data ") == 0;
}

// An offset of a block kept as stored: exiftool's must be ours plus the
// same shift (the block's place in the file) for every offset of the file.
bool OffsetsShiftAlike(const MetadataEntry& ours, const testjson::Value& theirs,
                       std::optional<double>& shift, std::string& problem) {
    const std::vector<double> expected = Numbers(theirs);
    if (ours.value.kind != MetadataValue::Kind::Numbers ||
        ours.value.numbers.size() != expected.size() || expected.empty()) {
        problem = "ours \"" + RawText(ours) + "\", expected \"" + theirs.text + "\"";
        return false;
    }
    for (size_t i = 0; i < expected.size(); ++i) {
        const double d = expected[i] - ours.value.numbers[i];
        if (!shift)
            shift = d;
        if (d < 0 || d != *shift) {
            problem = "ours \"" + RawText(ours) + "\", expected \"" + theirs.text +
                      "\" (not one shift from the block's start)";
            return false;
        }
    }
    return true;
}

using GroupAndId = std::pair<std::string, uint16_t>;

// The numbers exiftool's names of one number take in the reading's groups:
// a name of several numbers ("JpgFromRawLength": 0x0117 or 0x0202) is not
// one of them where exiftool gives that number another name.
std::set<GroupAndId> ClaimedNumbers(const testjson::Value& reading) {
    std::set<GroupAndId> claimed;
    for (const testjson::Member& m : reading.members) {
        const size_t colon = m.first.find(':');
        if (colon == std::string::npos)
            continue;
        const std::string group = m.first.substr(0, colon);
        if (!IsDirectoryGroup(group))
            continue;
        const std::vector<uint16_t> ids =
            ExiftoolTagNumbers(TagSpaceOfGroup(group), m.first.c_str() + colon + 1);
        if (ids.size() == 1)
            claimed.insert({group, ids[0]});
    }
    return claimed;
}

const MetadataEntry* FindOurs(const std::vector<MetadataEntry>& tags, const std::string& group,
                              const std::vector<uint16_t>& ids,
                              const std::set<GroupAndId>& claimed) {
    for (const uint16_t id : ids) {
        if (ids.size() > 1 && claimed.count({group, id}))
            continue;
        for (const MetadataEntry& e : tags)
            if (e.group == group && e.id == id)
                return &e;
    }
    return nullptr;
}

struct Counts {
    int files = 0;
    int listed = 0;
    int compared = 0;
    int offsetsMapped = 0;
    int offsetsListed = 0;
};

} // namespace

TEST(AllTagsCorpus, EveryExifEntryOfExiftoolIsListedAlike) {
    Counts counts;
    std::set<std::pair<std::string, std::string>> seenKnown;
    std::string report;
    const auto known = AllTagsKnownDisagreements();
    for (const CorpusFolder& folder : kFolders) {
        const std::string dir = kCorpus + "/" + folder.files;
        for (const std::string& name : Files(dir, folder.jpegOnly)) {
            SCOPED_TRACE(name);
            ++counts.files;
            testjson::Value reading;
            std::string error;
            ASSERT_TRUE(LoadReading(kCorpus + "/" + folder.readings + "/" + name + ".num.json",
                                    reading, error))
                << error;
            FileReport inspected;
            InspectOptions options;
            options.allTags = true;
            const std::string path = dir + "/" + name;
            if (!InspectFile(path.c_str(), inspected, error, options)) {
                ADD_FAILURE() << name << ": " << error;
                continue;
            }
            std::optional<double> shift;
            const std::set<GroupAndId> claimed = ClaimedNumbers(reading);

            for (const testjson::Member& m : reading.members) {
                const size_t colon = m.first.find(':');
                if (colon == std::string::npos)
                    continue;
                const std::string group = m.first.substr(0, colon);
                const std::string tag = m.first.substr(colon + 1);
                if (!IsDirectoryGroup(group) || IsDerived(tag, inspected.format))
                    continue;
                ++counts.listed;
                const std::vector<uint16_t> ids =
                    ExiftoolTagNumbers(TagSpaceOfGroup(group), tag.c_str());
                if (ids.empty()) {
                    ADD_FAILURE() << m.first << ": no number known for exiftool's name";
                    continue;
                }
                std::string problem;
                const MetadataEntry* ours = FindOurs(inspected.tags, group, ids, claimed);
                if (ours == nullptr) {
                    problem = "not listed";
                } else if (IsOffset(tag)) {
                    // TIFF and raw files: the compact copy keeps the file's offsets.
                    if (!KeepsBlockAsStored(inspected.format))
                        shift = 0;
                    if (IsBinaryNote(m.second))
                        ++counts.offsetsListed;
                    else if (OffsetsShiftAlike(*ours, m.second, shift, problem))
                        ++counts.offsetsMapped;
                } else {
                    std::string mine;
                    bool wasCompared;
                    if (!Compare(*ours, m.second, mine, wasCompared))
                        problem = "ours \"" + mine + "\", expected \"" + m.second.text + "\"";
                    counts.compared += wasCompared;
                }
                if (problem.empty())
                    continue;
                const auto k = std::find_if(known.begin(), known.end(), [&](const auto& d) {
                    return name == d.file && m.first == d.tag;
                });
                if (k == known.end()) {
                    ADD_FAILURE() << name << " " << m.first << ": " << problem;
                } else {
                    seenKnown.insert({name, m.first});
                    report +=
                        "  " + name + " " + m.first + ": " + problem + "\n    " + k->reason + "\n";
                }
            }
        }
    }
    if (counts.files == 0)
        GTEST_SKIP() << "no corpus at " << kCorpus;
    for (const AllTagsKnownDisagreement& k : known)
        EXPECT_TRUE(seenKnown.count({k.file, k.tag}))
            << "stale known disagreement: " << k.file << " " << k.tag;
    std::printf("%d corpus files, %d entries listed by exiftool, %d values compared, %d offsets "
                "mapped to the file, %d offsets of repacked blocks only found listed; known "
                "disagreements:\n%s",
                counts.files, counts.listed, counts.compared, counts.offsetsMapped,
                counts.offsetsListed, report.c_str());
}
