// Our reading of photos in other formats (HEIF, CR3, JPEG XL, WebP, PNG,
// TIFF, DNG, raw) beside exiftool's. The files stay outside the repository;
// without them the check is skipped.
#include "metadata/ByteSource.h"
#include "metadata/PhotoReader.h"
#include "tests/corpus/FormatsDisagreements.h"
#include "tests/corpus/ReferenceReading.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const std::string kCorpus = VELMORA_CORPUS_DIR;

std::vector<std::string> FormatFiles(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir))
            if (entry->d_name[0] != '.')
                names.push_back(entry->d_name);
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

struct Comparison {
    std::string field;
    std::string ours;
    std::string expected;
    bool agree;
};

std::string Number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", v);
    return text;
}

template <size_t N>
Comparison Text(const char* field, const char (&value)[N], std::optional<std::string> expected) {
    std::string want = expected.value_or("");
    if (want.size() > N - 1)
        want.resize(N - 1);
    const std::string have(value, ::strnlen(value, N));
    return {field, have, want, have == want};
}

Comparison Real(const char* field, double have, double expected) {
    const bool agree = have == expected ||
                       std::fabs(have - expected) <= 1e-5 * std::max(std::fabs(expected), 1e-3);
    return {field, Number(have), Number(expected), agree};
}

// exiftool's value, else the first APEX fallback the reader also takes.
double DirectOrApex(const ReferenceReading& ref, const char* direct,
                    std::initializer_list<const char*> apex) {
    if (const double value = ref.Number(direct).value_or(0); value != 0)
        return value;
    for (const char* key : apex)
        if (auto value = ref.Number(key))
            return *value;
    return 0;
}

std::vector<Comparison> Compare(const ExifSummary& r, const ReferenceReading& ref) {
    auto later = [&](const char* first, const char* second) {
        auto text = ref.Text(second);
        return text ? text : ref.Text(first);
    };
    return {
        Text("cameraMake", r.cameraMake, later("IFD0:Make", "IFD1:Make")),
        Text("cameraModel", r.cameraModel, later("IFD0:Model", "IFD1:Model")),
        Text("dateTime", r.dateTime, ref.Text("ExifIFD:DateTimeOriginal")),
        Real("exposureTime", r.exposureTime,
             DirectOrApex(ref, "ExifIFD:ExposureTime", {"ExifIFD:ShutterSpeedValue"})),
        Real("fNumber", r.fNumber,
             DirectOrApex(ref, "ExifIFD:FNumber",
                          {"ExifIFD:ApertureValue", "ExifIFD:MaxApertureValue"})),
        Real("isoEquivalent", r.isoEquivalent, std::trunc(ref.Number("ExifIFD:ISO").value_or(0))),
        Real("focalLength", r.focalLength, ref.Number("ExifIFD:FocalLength").value_or(0)),
    };
}

} // namespace

TEST(FormatsCorpus, RecordsAgreeWithExiftool) {
    const std::string folder = kCorpus + "/formats";
    const std::vector<std::string> files = FormatFiles(folder);
    if (files.empty())
        GTEST_SKIP() << "no corpus at " << folder;

    std::set<std::pair<std::string, std::string>> seenKnown;
    std::string report;
    std::string formats;
    int compared = 0;
    for (const std::string& name : files) {
        SCOPED_TRACE(name);
        ReferenceReading reference;
        std::string error;
        ASSERT_TRUE(reference.Load(kCorpus + "/formats-oracle/" + name + ".num.json", error))
            << error;
        const int fd = ::open((folder + "/" + name).c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        ExifSummary record;
        std::memset(&record, 0, sizeof record);
        FileSource source(fd);
        PhotoReader reader(&record, &DiscardingSink());
        reader.Read(source, name.c_str());
        ::close(fd);
        EXPECT_NE(reader.Format(), PhotoFormat::Unknown);
        EXPECT_LE(source.BytesRead(), ByteSource::kDefaultCap);
        formats += "  " + name + ": " + FormatShortName(reader.Format()) + " " +
                   std::to_string(record.width) + "x" + std::to_string(record.height) + ", " +
                   std::to_string(source.BytesRead()) + " bytes read" +
                   (reader.LastError()[0] ? std::string(", ") + reader.LastError() : "") + "\n";

        std::vector<Comparison> fields = Compare(record, reference);
        fields.push_back({"exifValid", record.exifValid ? "1" : "0",
                          reference.Has("File:ExifByteOrder") ? "1" : "0",
                          record.exifValid == reference.Has("File:ExifByteOrder")});
        for (const Comparison& c : fields) {
            ++compared;
            if (c.agree)
                continue;
            const auto known = FormatsDisagreements();
            const auto entry = std::find_if(known.begin(), known.end(), [&](const auto& k) {
                return name == k.file && c.field == k.field;
            });
            const std::string line =
                name + " " + c.field + ": ours \"" + c.ours + "\", expected \"" + c.expected + "\"";
            if (entry == known.end()) {
                ADD_FAILURE() << line << " (" << FormatShortName(reader.Format()) << ", "
                              << reader.LastError() << ")";
            } else {
                seenKnown.insert({name, c.field});
                report += "  " + line + "\n    " + entry->reason + "\n";
            }
        }
    }
    for (const KnownDisagreement& k : FormatsDisagreements())
        EXPECT_TRUE(seenKnown.count({k.file, k.field}))
            << "stale known disagreement: " << k.file << " " << k.field;
    std::printf("%zu format files, %d fields compared:\n%sknown disagreements:\n%s", files.size(),
                compared, formats.c_str(), report.c_str());
}

// Reading for the record alone (what the command line's rows and the file
// list's columns do) leaves out XMP, large values and the JPEG's second walk,
// and learns the size only when it must: it gives the same record as reading
// everything, on every real file.
TEST(FormatsCorpus, ReadingForTheRecordAloneGivesTheSameRecord) {
    std::vector<std::string> paths;
    for (const char* sub : {"/formats", "/dev"})
        for (const std::string& name : FormatFiles(kCorpus + sub))
            if (name.find('.') != std::string::npos && name.find(".json") == std::string::npos)
                paths.push_back(kCorpus + sub + "/" + name);
    if (paths.empty())
        GTEST_SKIP() << "no corpus at " << kCorpus;
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        ExifSummary records[2];
        std::string errors[2];
        uint64_t bytesRead[2] = {};
        for (int i = 0; i < 2; ++i) {
            const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            ASSERT_GE(fd, 0);
            std::memset(&records[i], 0, sizeof records[i]);
            const auto use =
                i == 0 ? PhotoReader::Use::RecordAndBlocks : PhotoReader::Use::RecordOnly;
            FileSource source(fd, i == 0 ? static_cast<uint64_t>(::lseek(fd, 0, SEEK_END))
                                         : FileSource::kUnknownSize);
            PhotoReader reader(&records[i], &DiscardingSink(), use);
            reader.Read(source, path.c_str());
            errors[i] = reader.LastError();
            bytesRead[i] = source.BytesRead();
            ::close(fd);
        }
        EXPECT_EQ(std::memcmp(&records[0], &records[1], offsetof(ExifSummary, thumbnailData)), 0);
        EXPECT_EQ(records[0].thumbnailLength, records[1].thumbnailLength);
        EXPECT_EQ(records[0].exifValid, records[1].exifValid);
        EXPECT_EQ(errors[0], errors[1]);
        EXPECT_LE(bytesRead[1], bytesRead[0]);
    }
}
