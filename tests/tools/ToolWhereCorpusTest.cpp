// velmora-tags --where over the real files beside the repository, against
// the same query worked out from exiftool's reading of each file. Without
// the corpus the check is skipped; VELMORA_CORPUS in the environment names
// another place for it (a worktree has none beside it).
#include "tests/corpus/ReferenceReading.h"
#include "tests/tools/ToolTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <dirent.h>
#include <functional>
#include <set>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

using Reading = ReferenceReading;

// A number of the EXIF directory, or of the first directory where a format
// keeps it there (Kodak's KDC, EXIF in a PNG without a sub-directory).
double Exif(const Reading& r, const std::string& name) {
    if (auto value = r.Number(("ExifIFD:" + name).c_str()))
        return *value;
    return r.Number(("IFD0:" + name).c_str()).value_or(0);
}

// The record reads the aperture and the time from their APEX values when
// the plain ones are missing or zero.
double ExifOr(const Reading& r, const char* name, const char* apex) {
    const double value = Exif(r, name);
    return value != 0 ? value : Exif(r, apex);
}

bool Contains(const Reading& r, const char* key, const char* word) {
    std::string text = r.Text(key).value_or("");
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text.find(word) != std::string::npos;
}

bool FileTypeIn(const Reading& r, std::set<std::string> types) {
    return types.count(r.Text("File:FileType").value_or("")) != 0;
}

std::string Month(const Reading& r) {
    return r.Text("ExifIFD:DateTimeOriginal").value_or("").substr(0, 7);
}

const std::vector<std::pair<const char*, std::function<bool(const Reading&)>>> kQueries = {
    {"camera:canon",
     [](auto& r) {
         return Contains(r, "IFD0:Make", "canon") || Contains(r, "IFD0:Model", "canon");
     }},
    {"make:nikon", [](auto& r) { return Contains(r, "IFD0:Make", "nikon"); }},
    {"lens:50",
     [](auto& r) {
         // The maker notes name the lens too, in the makers' own lens texts.
         for (const char* key : {"ExifIFD:LensModel", "XMP-aux:Lens", "XMP-exifEX:LensModel",
                                 "Nikon:Lens", "Canon:LensModel", "Olympus:LensModel"})
             if (Contains(r, key, "50"))
                 return true;
         return false;
     }},
    {"date:2008..2012", [](auto& r) { return Month(r) >= "2008:01" && Month(r) <= "2012:12"; }},
    {"date:>=2015-06", [](auto& r) { return Month(r) >= "2015:06"; }},
    {"iso:>=400", [](auto& r) { return Exif(r, "ISO") >= 400; }},
    {"f:<=2.8",
     [](auto& r) {
         const double f = ExifOr(r, "FNumber", "ApertureValue");
         return f > 0 && std::floor(f * 10 + 0.5) <= 28;
     }},
    {"exposure:<=1/250",
     [](auto& r) {
         const double t = ExifOr(r, "ExposureTime", "ShutterSpeedValue");
         return t > 0 && t <= 1.0 / 250 + 1e-9;
     }},
    {"focal:24..70",
     [](auto& r) { return Exif(r, "FocalLength") >= 24 && Exif(r, "FocalLength") <= 70; }},
    {"gps:yes",
     [](auto& r) { return r.Number("GPS:GPSLatitude") && r.Number("GPS:GPSLongitude"); }},
    {"format:raw",
     [](auto& r) {
         return FileTypeIn(r, {"CR2", "CR3", "NEF", "NRW", "ARW", "SR2", "SRF", "PEF",
                               "SRW", "ORF", "RW2", "RAW", "RWL", "3FR", "IIQ", "ERF",
                               "MEF", "MOS", "DCR", "KDC", "RAF", "DNG", "GPR"});
     }},
    {"format:heif",
     [](auto& r) {
         return FileTypeIn(r, {"HEIC", "HEIF"});
     }},
};

// Files the reader and exiftool read differently; the query follows the
// reader.
const std::set<std::string> kReadDifferently = {
    // exiftool stops before this TIFF's EXIF directory; the reader reads it.
    "D__m1-f4830e8d4fa458f78a09fcaaf260569c.tif",
    // Bare EXIF blocks, not photo files.
    "IMETA__testImages_Heic.exif",
    "RBEXIFR__tests_data_apple-aperture-1.5.exif",
    // exiftool reads no EXIF data from this cut-down DNG.
    "FTYPE__fixture_fixture-Leica-M10.dng",
    // The reader refuses the EXIF item's TIFF offset, past the item's end.
    "NOKIA__conformance_files_C034.heic",
    // The record reads rational components past 2^31 as negative.
    "OIIOM__testsuite_raw_ref_RAW_PANASONIC_G1.RW2.tif",
    "OIIOM__testsuite_raw_ref_RAW_SONY_A300.ARW.tif",
    "OIIOM__testsuite_raw_ref_RAW_OLYMPUS_E3.ORF.tif",
};

TEST(ToolWhereCorpus, QueriesFindWhatExiftoolsReadingsSay) {
    const char* place = std::getenv("VELMORA_CORPUS");
    const std::string corpus = place != nullptr && *place != '\0' ? place : VELMORA_CORPUS_DIR;
    struct stat info {};
    if (::stat((corpus + "/dev").c_str(), &info) != 0)
        GTEST_SKIP() << "no corpus at " << corpus;
    std::vector<size_t> found(kQueries.size(), 0);
    for (const char* set : {"dev", "formats", "more"}) {
        const std::string folder = corpus + "/" + set + "/";
        std::vector<std::string> names;
        std::vector<Reading> readings;
        if (DIR* dir = ::opendir(folder.c_str())) {
            while (const dirent* entry = ::readdir(dir)) {
                Reading reading;
                std::string error;
                const std::string oracle = corpus + "/" + set + "-oracle/" + entry->d_name;
                if (entry->d_name[0] != '.' && kReadDifferently.count(entry->d_name) == 0 &&
                    reading.Load(oracle + ".num.json", error)) {
                    names.push_back(entry->d_name);
                    readings.push_back(std::move(reading));
                }
            }
            ::closedir(dir);
        }
        for (size_t q = 0; q < kQueries.size() && !names.empty(); ++q) {
            std::vector<std::string> args = {"-0", "--where", kQueries[q].first};
            std::string expected;
            for (size_t i = 0; i < names.size(); ++i)
                args.push_back(folder + names[i]);
            // The tool prints in the order named.
            for (size_t i = 0; i < names.size(); ++i) {
                if (kQueries[q].second(readings[i])) {
                    expected += folder + names[i] + '\0';
                    ++found[q];
                }
            }
            EXPECT_EQ(tooltest::RunInProcess(args).out, expected)
                << set << " " << kQueries[q].first;
        }
    }
    // Each query finds something somewhere, so that agreeing is no accident.
    for (size_t q = 0; q < kQueries.size(); ++q)
        EXPECT_GT(found[q], 0u) << kQueries[q].first;
}

} // namespace
