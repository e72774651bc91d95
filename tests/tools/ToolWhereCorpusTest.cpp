// velmora-tags --where over the real files beside the repository, against
// the same query worked out from exiftool's reading of each file. Without
// the corpus the check is skipped.
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

// VELMORA_CORPUS in the environment names another place for it (a
// worktree's checkout has no corpus beside it).
std::string Corpus() {
    const char* place = std::getenv("VELMORA_CORPUS");
    return place != nullptr && *place != '\0' ? place : VELMORA_CORPUS_DIR;
}

using Reading = ReferenceReading;

// A number of the picture's EXIF directory, or of the first directory where
// a format keeps it there (Kodak's KDC, EXIF in a PNG without a sub-directory).
std::optional<double> Exif(const Reading& r, const std::string& name) {
    if (auto value = r.Number(("ExifIFD:" + name).c_str()))
        return value;
    return r.Number(("IFD0:" + name).c_str());
}

bool Contains(const Reading& r, const char* key, std::string word) {
    std::optional<std::string> text = r.Text(key);
    if (!text)
        return false;
    auto lower = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return s;
    };
    return lower(*text).find(lower(word)) != std::string::npos;
}

bool FileTypeIn(const Reading& r, std::initializer_list<const char*> types) {
    const std::optional<std::string> type = r.Text("File:FileType");
    return type && std::find(types.begin(), types.end(), *type) != types.end();
}

std::string Year(const Reading& r) {
    return r.Text("ExifIFD:DateTimeOriginal").value_or("").substr(0, 7);
}

// The record reads the aperture and the time from their APEX values when
// the plain ones are missing.
std::optional<double> Aperture(const Reading& r) {
    const std::optional<double> f = Exif(r, "FNumber");
    return f && *f != 0 ? f : Exif(r, "ApertureValue");
}

std::optional<double> Time(const Reading& r) {
    const std::optional<double> t = Exif(r, "ExposureTime");
    return t && *t != 0 ? t : Exif(r, "ShutterSpeedValue");
}

struct OracleQuery {
    const char* query;
    std::function<bool(const Reading&)> holds;
};

const std::vector<OracleQuery>& Queries() {
    static const std::vector<OracleQuery> queries = {
        {"camera:canon",
         [](const Reading& r) {
             return Contains(r, "IFD0:Make", "canon") || Contains(r, "IFD0:Model", "canon");
         }},
        {"make:nikon", [](const Reading& r) { return Contains(r, "IFD0:Make", "nikon"); }},
        {"model:eos", [](const Reading& r) { return Contains(r, "IFD0:Model", "eos"); }},
        {"lens:50",
         [](const Reading& r) {
             return Contains(r, "ExifIFD:LensModel", "50") || Contains(r, "XMP-aux:Lens", "50") ||
                    Contains(r, "XMP-exifEX:LensModel", "50");
         }},
        {"date:2008..2012",
         [](const Reading& r) {
             return Year(r) >= "2008" && Year(r) < "2013" && Year(r)[4] == ':';
         }},
        {"date:>=2015-06", [](const Reading& r) { return Year(r) >= "2015:06"; }},
        {"iso:>=400", [](const Reading& r) { return Exif(r, "ISO").value_or(0) >= 400; }},
        {"f:<=2.8",
         [](const Reading& r) {
             const double f = Aperture(r).value_or(0);
             return f > 0 && std::floor(f * 10 + 0.5) <= 28;
         }},
        {"exposure:<=1/250",
         [](const Reading& r) {
             const double t = Time(r).value_or(0);
             return t > 0 && t <= 1.0 / 250 + 1e-9;
         }},
        {"focal:24..70",
         [](const Reading& r) {
             const double focal = Exif(r, "FocalLength").value_or(0);
             return focal >= 24 && focal <= 70;
         }},
        {"gps:yes",
         [](const Reading& r) {
             return r.Number("GPS:GPSLatitude").has_value() &&
                    r.Number("GPS:GPSLongitude").has_value();
         }},
        {"flash:yes",
         [](const Reading& r) {
             return (static_cast<int>(Exif(r, "Flash").value_or(0)) & 1) != 0;
         }},
        {"format:raw",
         [](const Reading& r) {
             return FileTypeIn(r, {"CR2", "CR3", "NEF", "NRW", "ARW", "SR2", "SRF", "PEF",
                                   "SRW", "ORF", "RW2", "RAW", "RWL", "3FR", "IIQ", "ERF",
                                   "MEF", "MOS", "DCR", "KDC", "RAF", "DNG", "GPR"});
         }},
        {"format:heif",
         [](const Reading& r) {
             return FileTypeIn(r, {"HEIC", "HEIF"});
         }},
        {"format:png", [](const Reading& r) { return FileTypeIn(r, {"PNG"}); }},
    };
    return queries;
}

// Files the reader and exiftool read differently; the query follows the
// reader.
struct Disagreement {
    const char* file;
    const char* reason;
};
const Disagreement kDisagreements[] = {
    {"D__m1-f4830e8d4fa458f78a09fcaaf260569c.tif",
     "exiftool stops before this TIFF's EXIF directory; the reader reads it"},
    {"IMETA__testImages_Heic.exif", "a bare EXIF block, not a photo file: not ours to read"},
    {"RBEXIFR__tests_data_apple-aperture-1.5.exif",
     "a bare EXIF block whose make exiftool puts elsewhere"},
    {"FTYPE__fixture_fixture-Leica-M10.dng", "exiftool reads no EXIF data from this cut-down DNG"},
    {"NOKIA__conformance_files_C034.heic",
     "the reader refuses the EXIF item's TIFF offset, past the item's end; exiftool reads on"},
    {"OIIOM__testsuite_raw_ref_RAW_PANASONIC_G1.RW2.tif",
     "the record reads rational components past 2^31 as negative"},
    {"OIIOM__testsuite_raw_ref_RAW_SONY_A300.ARW.tif",
     "the record reads rational components past 2^31 as negative"},
    {"OIIOM__testsuite_raw_ref_RAW_OLYMPUS_E3.ORF.tif",
     "the record reads rational components past 2^31 as negative"},
};

bool Disagrees(const std::string& name) {
    for (const Disagreement& d : kDisagreements) {
        if (name == d.file)
            return true;
    }
    return false;
}

std::string Join(const std::set<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text += " " + name;
    return text;
}

TEST(ToolWhereCorpus, QueriesFindWhatExiftoolsReadingsSay) {
    const std::string corpus = Corpus();
    struct stat info {};
    if (::stat((corpus + "/dev").c_str(), &info) != 0)
        GTEST_SKIP() << "no corpus at " << corpus;
    std::vector<size_t> found(Queries().size(), 0);
    for (const char* set : {"dev", "formats", "more"}) {
        const std::string folder = corpus + "/" + set;
        const std::string oracle = folder + "-oracle/";
        std::vector<std::string> names;
        std::vector<Reading> readings;
        if (DIR* dir = ::opendir(folder.c_str())) {
            while (const dirent* entry = ::readdir(dir)) {
                Reading reading;
                std::string error;
                if (entry->d_name[0] != '.' && !Disagrees(entry->d_name) &&
                    reading.Load(oracle + entry->d_name + ".num.json", error)) {
                    names.push_back(entry->d_name);
                    readings.push_back(std::move(reading));
                }
            }
            ::closedir(dir);
        }
        if (names.empty())
            continue;
        for (size_t q = 0; q < Queries().size(); ++q) {
            std::vector<std::string> args = {"-0", "--where", Queries()[q].query};
            std::set<std::string> expected;
            for (size_t i = 0; i < names.size(); ++i) {
                args.push_back(folder + "/" + names[i]);
                if (Queries()[q].holds(readings[i]))
                    expected.insert(names[i]);
            }
            const tooltest::Output run = tooltest::RunInProcess(args);
            std::set<std::string> ours;
            for (size_t start = 0; start < run.out.size();) {
                const size_t end = run.out.find('\0', start);
                ASSERT_NE(end, std::string::npos) << "a path not ended by a NUL";
                const std::string path = run.out.substr(start, end - start);
                ours.insert(path.substr(folder.size() + 1));
                start = end + 1;
            }
            std::set<std::string> onlyOurs;
            std::set<std::string> onlyTheirs;
            std::set_difference(ours.begin(), ours.end(), expected.begin(), expected.end(),
                                std::inserter(onlyOurs, onlyOurs.end()));
            std::set_difference(expected.begin(), expected.end(), ours.begin(), ours.end(),
                                std::inserter(onlyTheirs, onlyTheirs.end()));
            EXPECT_TRUE(onlyOurs.empty() && onlyTheirs.empty())
                << set << " " << Queries()[q].query << ": found only by us:" << Join(onlyOurs)
                << "; only by exiftool's reading:" << Join(onlyTheirs);
            found[q] += expected.size();
        }
    }
    // Each query finds something somewhere, so that agreeing is no accident.
    for (size_t q = 0; q < Queries().size(); ++q)
        EXPECT_GT(found[q], 0u) << Queries()[q].query;
}

} // namespace
