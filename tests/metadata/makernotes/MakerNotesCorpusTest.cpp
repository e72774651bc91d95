// The maker-note entries of real photo files, read the way `velmora-tags
// --all` reads them, beside exiftool's readings of the same notes: per
// maker, the share of exiftool's entries we list under the same group and
// id, and the share of single numbers and texts that are equal. The files
// stay outside the repository; without them the check is skipped.
#include "metadata/tags/TagText.h"
#include "presentation/FileInspection.h"
#include "tests/tools/TestJson.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

// Beside the repository, or where VELMORA_CORPUS says (a worktree kept
// elsewhere).
const std::string kCorpus =
    std::getenv("VELMORA_CORPUS") != nullptr ? std::getenv("VELMORA_CORPUS") : VELMORA_CORPUS_DIR;

struct CorpusFolder {
    const char* files;
    const char* readings;
};
constexpr CorpusFolder kFolders[] = {
    {"dev", "dev-makernotes"}, {"formats", "formats-makernotes"}, {"more", "more-oracle"}};

std::vector<std::string> Files(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            if (entry->d_name[0] != '.')
                names.push_back(entry->d_name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool LoadReading(const std::string& path, testjson::Value& tags) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::stringstream text;
    text << in.rdbuf();
    testjson::Value document;
    std::string error;
    if (!testjson::Parse(text.str(), document, error) ||
        document.type != testjson::Value::Type::Array || document.items.size() != 1)
        return false;
    tags = std::move(document.items[0]);
    return true;
}

// The maker a reading's group belongs to: CanonCustom is Canon's, Nikon's
// sub-directories Nikon's. CR3's timed-metadata tracks are no maker note.
std::string MakerOf(const std::string& group) {
    if (group.compare(0, 5, "Track") == 0)
        return {};
    if (group.compare(0, 5, "Canon") == 0)
        return "Canon";
    if (group.compare(0, 5, "Nikon") == 0 || group == "PreviewIFD")
        return "Nikon";
    if (group == "KodakIFD")
        return "Kodak";
    return group;
}

bool NumbersAgree(double ours, double theirs) {
    if (std::isnan(ours) || std::isnan(theirs)) // 0/0: "undef" to the reference
        return std::isnan(ours) && std::isnan(theirs);
    return std::fabs(ours - theirs) <= 1e-6 * std::max(1.0, std::fabs(theirs));
}

std::vector<double> NumbersIn(const std::string& text, bool& allNumbers) {
    std::vector<double> numbers;
    std::istringstream in(text);
    std::string word;
    allNumbers = true;
    while (in >> word) {
        if (word == "undef") {
            numbers.push_back(std::nan(""));
            continue;
        }
        char* end = nullptr;
        const double v = std::strtod(word.c_str(), &end);
        if (end == word.c_str() || *end != '\0') {
            allNumbers = false;
            break;
        }
        numbers.push_back(v);
    }
    return numbers;
}

// Whether the two values could be compared, and whether they agree.
bool Compare(const MetadataEntry& ours, const testjson::Value& theirs, bool& compared) {
    compared = false;
    const MetadataValue& v = ours.value;
    switch (theirs.type) {
    case testjson::Value::Type::Number:
        if (v.IsSingleNumber()) {
            compared = true;
            return NumbersAgree(v.numbers[0], theirs.number);
        }
        if (v.kind == MetadataValue::Kind::Text) {
            compared = true;
            char* end = nullptr;
            const double n = std::strtod(v.text.c_str(), &end);
            return !v.text.empty() && *end == '\0' && NumbersAgree(n, theirs.number);
        }
        return true;
    case testjson::Value::Type::Bool:
        compared = true;
        return v.kind == MetadataValue::Kind::Text && v.text == (theirs.boolean ? "True" : "False");
    case testjson::Value::Type::String: {
        if (theirs.text.compare(0, 13, "(Binary data ") == 0)
            return true;
        compared = true;
        if (v.kind == MetadataValue::Kind::Text) {
            // Cameras pad their texts with spaces; the reference keeps them.
            std::string mine = v.text;
            std::string reference = theirs.text;
            for (std::string* s : {&mine, &reference})
                while (!s->empty() && s->back() == ' ')
                    s->pop_back();
            return mine == reference;
        }
        if (v.kind == MetadataValue::Kind::Numbers) {
            bool allNumbers;
            const std::vector<double> expected = NumbersIn(theirs.text, allNumbers);
            if (!allNumbers || expected.size() != v.numbers.size() || v.truncated)
                return false;
            for (size_t i = 0; i < expected.size(); ++i) {
                if (!NumbersAgree(v.numbers[i], expected[i]))
                    return false;
            }
            return true;
        }
        return false;
    }
    default:
        return true;
    }
}

struct Tally {
    int files = 0;
    int entries = 0;
    int listed = 0; // the same group and id
    int named = 0;  // ... and the same name: values are compared on these
    int compared = 0;
    int equal = 0;
    int lensPhotos = 0;
    int lensNamed = 0;

    void operator+=(const Tally& t) {
        for (auto [sum, part] : {std::pair{&entries, t.entries},
                                 {&listed, t.listed},
                                 {&compared, t.compared},
                                 {&equal, t.equal},
                                 {&lensPhotos, t.lensPhotos},
                                 {&lensNamed, t.lensNamed}})
            *sum += part;
    }
};

constexpr const char* kMakersRead[] = {"Canon",    "Nikon",     "Sony",   "Apple",  "Olympus",
                                       "FujiFilm", "Panasonic", "Pentax", "Samsung"};

double Share(int part, int whole) {
    return whole == 0 ? 1 : static_cast<double>(part) / whole;
}

} // namespace

TEST(MakerNotesCorpus, EntriesAndValuesAsTheReferenceReadsThem) {
    std::map<std::string, Tally> makers;
    std::vector<std::string> misses;
    int files = 0;
    for (const CorpusFolder& folder : kFolders) {
        const std::string dir = kCorpus + "/" + folder.files;
        for (const std::string& name : Files(dir)) {
            testjson::Value reading;
            if (!LoadReading(kCorpus + "/" + folder.readings + "/" + name + ".mn.json", reading))
                continue;
            ++files;
            FileReport inspected;
            InspectOptions options;
            options.allTags = true;
            std::string error;
            const std::string path = dir + "/" + name;
            if (!InspectFile(path.c_str(), inspected, error, options))
                continue;
            struct Reference {
                std::string key, group, name, maker;
                const testjson::Value* id;
                const testjson::Value* val;
                size_t ours = SIZE_MAX;
                bool byName = false;
            };
            std::vector<Reference> references;
            std::map<std::string, bool> counted;
            std::string fileMaker;
            for (const testjson::Member& m : reading.members) {
                // "MakerNotes:Canon:MacroMode"
                if (m.first.compare(0, 11, "MakerNotes:") != 0)
                    continue;
                const size_t colon = m.first.find(':', 11);
                if (colon == std::string::npos)
                    continue;
                Reference r;
                r.key = m.first;
                r.group = m.first.substr(11, colon - 11);
                r.name = m.first.substr(colon + 1);
                r.maker = MakerOf(r.group);
                r.id = m.second.Find("id");
                r.val = m.second.Find("val");
                if (r.maker.empty())
                    continue;
                fileMaker = r.maker;
                if (!counted[r.maker]) {
                    counted[r.maker] = true;
                    ++makers[r.maker].files;
                }
                references.push_back(std::move(r));
            }
            // The same group, id and name first; then the same group and id
            // (a field we name otherwise); a field of a dictionary (Apple's
            // RunTime) by its name alone.
            std::vector<bool> used(inspected.tags.size(), false);
            for (int pass = 0; pass < 2; ++pass) {
                for (Reference& r : references) {
                    if (r.ours != SIZE_MAX)
                        continue;
                    const bool numericId =
                        r.id != nullptr && r.id->type == testjson::Value::Type::Number;
                    // Of entries listed twice (Olympus's two raw-development
                    // records), the reference shows one: the one that agrees.
                    for (size_t i = 0; i < inspected.tags.size(); ++i) {
                        const MetadataEntry& e = inspected.tags[i];
                        if (used[i] || e.group != r.group)
                            continue;
                        const bool sameName = e.name == r.name;
                        const bool sameId = numericId && e.id == static_cast<int32_t>(r.id->number);
                        if ((pass == 0 && sameName && (sameId || !numericId)) ||
                            (pass == 1 && sameId)) {
                            bool compared = false;
                            const bool agrees = r.val == nullptr || Compare(e, *r.val, compared);
                            if (r.ours == SIZE_MAX || agrees) {
                                r.ours = i;
                                r.byName = pass == 0;
                            }
                            if (agrees)
                                break;
                        }
                    }
                    if (r.ours != SIZE_MAX)
                        used[r.ours] = true;
                }
            }
            for (const Reference& r : references) {
                Tally& tally = makers[r.maker];
                ++tally.entries;
                if (r.ours == SIZE_MAX) {
                    misses.push_back(name + " " + r.key + " not listed");
                    continue;
                }
                ++tally.listed;
                // An entry we do not name is the reference's entry all the same.
                const bool unnamed = inspected.tags[r.ours].name.View().substr(0, 5) == "Tag0x";
                if (!r.byName && !unnamed) {
                    misses.push_back(name + " " + r.key + " listed as " +
                                     std::string(inspected.tags[r.ours].name));
                    continue;
                }
                tally.named += r.byName;
                bool compared = false;
                const MetadataEntry& ours = inspected.tags[r.ours];
                const bool agree = r.val == nullptr || Compare(ours, *r.val, compared);
                tally.compared += compared;
                tally.equal += compared && agree;
                if (compared && !agree)
                    misses.push_back(name + " " + r.key + ": ours \"" +
                                     RawText(ours).substr(0, 80) + "\", reference \"" +
                                     r.val->text.substr(0, 80) + "\"");
            }
            // The lens, where the reference names one.
            const testjson::Value* lens = reading.Find("Composite:LensID");
            if (fileMaker.empty() || lens == nullptr)
                continue;
            testjson::Value printed;
            const testjson::Value* lensText = lens;
            if (LoadReading(kCorpus + "/" + folder.readings + "/" + name + ".mntxt.json", printed))
                if (const testjson::Value* t = printed.Find("Composite:LensID"))
                    lensText = t;
            const testjson::Value* lensValue = lensText->Find("val");
            const std::string expected =
                lensValue != nullptr && lensValue->type == testjson::Value::Type::String
                    ? lensValue->text
                : lensText->type == testjson::Value::Type::String ? lensText->text
                                                                  : std::string();
            if (expected.empty())
                continue;
            Tally& tally = makers[fileMaker];
            ++tally.lensPhotos;
            // The maker note's Lens row; else EXIF's LensModel, which the
            // Lens column shows first (phones write only that).
            std::string ourLens, lensModel;
            for (const MetadataEntry& e : inspected.tags) {
                if (MakerOf(e.group) == fileMaker && e.id == -1 && e.name == "Lens")
                    ourLens = e.value.text;
                else if (e.group == "ExifIFD" && e.name == "LensModel")
                    lensModel = e.value.text;
            }
            if (ourLens.empty())
                ourLens = lensModel;
            if (ourLens == expected)
                ++tally.lensNamed;
            else
                misses.push_back(name + " lens: ours \"" + ourLens + "\", reference \"" + expected +
                                 "\"");
        }
    }
    if (files == 0)
        GTEST_SKIP() << "no corpus at " << kCorpus;

    std::string table = "maker        files  entries  listed   named  values  equal  lens named\n";
    for (const auto& [maker, t] : makers) {
        char line[160];
        std::snprintf(line, sizeof line, "%-12s %5d %8d %6.1f%% %6.1f%% %7d %5.1f%%  %d/%d\n",
                      maker.c_str(), t.files, t.entries, 100 * Share(t.listed, t.entries),
                      100 * Share(t.named, t.entries), t.compared, 100 * Share(t.equal, t.compared),
                      t.lensNamed, t.lensPhotos);
        table += line;
    }
    std::printf("%s", table.c_str());
    if (std::getenv("VELMORA_MAKERNOTE_MISSES") != nullptr)
        for (const std::string& miss : misses)
            std::printf("  %s\n", miss.c_str());

    // The nine makers read, each (and so all of them together) with at
    // least 85% of the reference's entries listed, 95% of the values compared
    // equal, and the lens named for 90% of the photos it names one for.
    // (Pentax's only photo has no entries the reference lists.)
    Tally all;
    for (const char* maker : kMakersRead)
        all += makers[maker];
    std::printf("the nine: %d entries, %.1f%% listed, %.1f%% of %d values equal, lens %d/%d\n",
                all.entries, 100 * Share(all.listed, all.entries),
                100 * Share(all.equal, all.compared), all.compared, all.lensNamed, all.lensPhotos);
    for (const char* maker : kMakersRead) {
        const Tally& t = makers[maker];
        EXPECT_GE(Share(t.listed, t.entries), 0.85) << maker << "\n" << table;
        EXPECT_GE(Share(t.equal, t.compared), 0.95) << maker << "\n" << table;
        EXPECT_GE(Share(t.lensNamed, t.lensPhotos), 0.9) << maker << "\n" << table;
    }
}
