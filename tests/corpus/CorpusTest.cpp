// Our reading of real camera files beside exiftool's. The files stay outside
// the repository; without them the check is skipped.
#include "metadata/JpegExifReader.h"
#include "metadata/MessageSink.h"
#include "tests/corpus/ExpectedFields.h"
#include "tests/corpus/KnownDisagreements.h"
#include "tests/corpus/ReferenceReading.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string kCorpus = VELMORA_CORPUS_DIR;

std::vector<std::string> CorpusFiles(const std::string& folder) {
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

bool ReadRecord(const std::string& path, ExifSummary& record) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    std::memset(&record, 0, sizeof record);
    {
        CJpegExifReader reader(&record, &DiscardingSink());
        FileStream stream(file);
        reader.ReadSections(stream);
    }
    record.thumbnailData = nullptr; // pointed into the released reader
    std::fclose(file);
    return true;
}

} // namespace

TEST(Corpus, RecordsAgreeWithExiftool) {
    const std::string dev = kCorpus + "/dev";
    const std::vector<std::string> files = CorpusFiles(dev);
    if (files.empty())
        GTEST_SKIP() << "no corpus at " << dev;

    std::set<std::pair<std::string, std::string>> seenKnown;
    std::string report;
    int compared = 0;
    int withValue = 0;
    for (const std::string& name : files) {
        SCOPED_TRACE(name);
        ReferenceReading reference;
        std::string error;
        ASSERT_TRUE(reference.Load(kCorpus + "/dev-oracle/" + name + ".num.json", error)) << error;
        ExifSummary record;
        ASSERT_TRUE(ReadRecord(dev + "/" + name, record));

        for (const FieldComparison& c : CompareWithReference(record, reference)) {
            ++compared;
            if (!c.expected.empty() && c.expected != "0")
                ++withValue;
            if (c.agree)
                continue;
            const auto known = KnownDisagreements();
            const auto entry = std::find_if(known.begin(), known.end(), [&](const auto& k) {
                return name == k.file && c.field == k.field;
            });
            const std::string line =
                name + " " + c.field + ": ours \"" + c.ours + "\", expected \"" + c.expected + "\"";
            if (entry == known.end()) {
                ADD_FAILURE() << line;
            } else {
                seenKnown.insert({name, c.field});
                report += "  " + line + "\n    " + entry->reason + "\n";
            }
        }
    }
    for (const KnownDisagreement& k : KnownDisagreements())
        EXPECT_TRUE(seenKnown.count({k.file, k.field}))
            << "stale known disagreement: " << k.file << " " << k.field;
    std::printf("%zu corpus files, %d fields compared (%d with a value); known "
                "disagreements:\n%s",
                files.size(), compared, withValue, report.c_str());
}
