// Our walk of real camera files beside exiftool's readings: every entry
// exiftool lists in IFD0, ExifIFD, GPS, InteropIFD and IFD1 must be walked
// under the same group and number, with the same value where both are one
// number or a text. The files stay outside the repository; without them
// the check is skipped.
#include "tests/metadata/tags/AllTagsKnownDisagreements.h"
#include "tests/metadata/tags/ExiftoolTagIds.h"
#include "tests/tools/TestJson.h"
#include "metadata/tags/JpegMetadataSegments.h"
#include "metadata/tags/TiffTagWalk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kCorpus = VELMORA_CORPUS_DIR;

std::vector<std::string> JpegFiles(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".jpg") == 0)
                names.push_back(name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
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

struct Group {
    const char* name;
    TagSpace space;
};
constexpr Group kGroups[] = {{"IFD0", TagSpace::Tiff},
                             {"ExifIFD", TagSpace::Tiff},
                             {"GPS", TagSpace::Gps},
                             {"InteropIFD", TagSpace::Interop},
                             {"IFD1", TagSpace::Tiff}};

// exiftool lists these in the groups without their being entries there.
bool IsDerived(const std::string& name) {
    return name == "ThumbnailImage";
}

bool NumbersAgree(double ours, double theirs) {
    // exiftool prints about ten significant digits.
    return std::fabs(ours - theirs) <= 1e-8 * std::max(1.0, std::fabs(theirs));
}

// exiftool gives some values converted even when asked for numbers: APEX
// values as seconds and f-numbers, the thumbnail's offset from the file's
// start rather than the TIFF header's.
double AsExiftoolGivesIt(const MetadataEntry& e, double v, size_t tiffStart) {
    if (e.group == "ExifIFD" && e.id == 0x9201)
        return std::pow(2.0, -v);
    if (e.group == "ExifIFD" && (e.id == 0x9202 || e.id == 0x9205))
        return std::pow(2.0, v / 2);
    if (e.id == 0x0201 || (e.group == "IFD1" && e.id == 0x0111))
        return v + static_cast<double>(tiffStart);
    return v;
}

// exiftool drops the trailing spaces of some texts.
std::string WithoutTrailingSpaces(std::string s) {
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

// False when they disagree; `compared` when both were one number or a text.
bool Compare(const MetadataEntry& ours, const testjson::Value& theirs, size_t tiffStart,
             std::string& mine, std::string& expected, bool& compared) {
    compared = false;
    expected = theirs.text;
    if (theirs.type == testjson::Value::Type::Number) {
        double v;
        if (ours.value.IsSingleNumber()) {
            v = ours.value.numbers[0];
            mine = ours.raw;
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
        return NumbersAgree(AsExiftoolGivesIt(ours, v, tiffStart), theirs.number);
    }
    if (theirs.type == testjson::Value::Type::String &&
        ours.value.kind == MetadataValue::Kind::Text) {
        compared = true;
        mine = ours.value.text;
        return mine == theirs.text || WithoutTrailingSpaces(mine) == theirs.text;
    }
    return true;
}

} // namespace

TEST(AllTagsCorpus, EveryExifEntryOfExiftoolIsWalkedAlike) {
    const std::string dev = kCorpus + "/dev";
    const std::vector<std::string> files = JpegFiles(dev);
    if (files.empty())
        GTEST_SKIP() << "no corpus at " << dev;

    std::set<std::pair<std::string, std::string>> seenKnown;
    std::string report;
    int listed = 0;
    int compared = 0;
    for (const std::string& name : files) {
        SCOPED_TRACE(name);
        testjson::Value reading;
        std::string error;
        ASSERT_TRUE(LoadReading(kCorpus + "/dev-oracle/" + name + ".num.json", reading, error))
            << error;
        const std::vector<uint8_t> file = ReadAll(dev + "/" + name);
        JpegMetadataSegments segments;
        FindJpegMetadataSegments(file.data(), file.size(), segments);
        const size_t tiffStart = segments.exif ? segments.exif - file.data() : 0;
        MetadataCollector walked;
        if (segments.exif)
            WalkTiffBlock(segments.exif, segments.exifSize, TiffBlockRole::Main, walked);

        for (const testjson::Member& m : reading.members) {
            const size_t colon = m.first.find(':');
            if (colon == std::string::npos)
                continue;
            const std::string group = m.first.substr(0, colon);
            const std::string tag = m.first.substr(colon + 1);
            const auto g = std::find_if(std::begin(kGroups), std::end(kGroups),
                                        [&](const Group& k) { return group == k.name; });
            if (g == std::end(kGroups) || IsDerived(tag))
                continue;
            ++listed;
            const int id = ExiftoolTagNumber(g->space, tag.c_str());
            std::string problem;
            if (id < 0) {
                ADD_FAILURE() << m.first << ": no number known for exiftool's name";
                continue;
            }
            const auto& entries = walked.Entries();
            const auto ours = std::find_if(entries.begin(), entries.end(), [&](const auto& e) {
                return e.group == group && e.id == id;
            });
            if (ours == entries.end()) {
                problem = "not walked";
            } else {
                std::string mine, expected;
                bool wasCompared;
                if (!Compare(*ours, m.second, tiffStart, mine, expected, wasCompared))
                    problem = "ours \"" + mine + "\", expected \"" + expected + "\"";
                compared += wasCompared;
            }
            if (problem.empty())
                continue;
            const auto known = AllTagsKnownDisagreements();
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
    for (const AllTagsKnownDisagreement& k : AllTagsKnownDisagreements())
        EXPECT_TRUE(seenKnown.count({k.file, k.tag}))
            << "stale known disagreement: " << k.file << " " << k.tag;
    std::printf("%zu corpus files, %d entries listed by exiftool, %d values compared; known "
                "disagreements:\n%s",
                files.size(), listed, compared, report.c_str());
}
