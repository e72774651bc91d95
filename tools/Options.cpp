#include "tools/Options.h"

#include "presentation/query/Query.h"
#include "velmora/Version.h"

#include <cstdlib>
#include <cstring>

bool ParseArguments(int argc, const char* const* argv, Options& options, std::string& error) {
    bool formatGiven = false;
    auto setFormat = [&](Options::Format format, const char* name) {
        if (formatGiven && options.format != format) {
            error = std::string("only one output format may be given, not also ") + name;
            return false;
        }
        formatGiven = true;
        options.format = format;
        return true;
    };

    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (optionsEnded || arg[0] != '-' || arg[1] == '\0') {
            options.operands.emplace_back(arg);
        } else if (std::strcmp(arg, "--") == 0) {
            optionsEnded = true;
        } else if (std::strcmp(arg, "-r") == 0 || std::strcmp(arg, "--recursive") == 0) {
            options.recursive = true;
        } else if (std::strcmp(arg, "--where") == 0 || std::strncmp(arg, "--where=", 8) == 0) {
            if (options.filtered) {
                error = "only one --where may be given";
                return false;
            }
            if (arg[7] == '=') {
                options.where = arg + 8;
            } else if (i + 1 < argc) {
                options.where = argv[++i];
            } else {
                error = "--where needs a query";
                return false;
            }
            options.filtered = true;
        } else if (std::strcmp(arg, "--readers") == 0 || std::strncmp(arg, "--readers=", 10) == 0) {
            const char* count = arg[9] == '=' ? arg + 10 : (i + 1 < argc ? argv[++i] : "");
            char* end = nullptr;
            const long n = std::strtol(count, &end, 10);
            if (*count == '\0' || *end != '\0' || n < 1 || n > Options::kMostReaders) {
                error = "--readers needs a number of files from 1 to 64";
                return false;
            }
            options.readers = static_cast<int>(n);
        } else if (std::strcmp(arg, "-l") == 0 || std::strcmp(arg, "--list") == 0) {
            options.pathsOnly = true;
        } else if (std::strcmp(arg, "-0") == 0 || std::strcmp(arg, "--null") == 0) {
            options.pathsOnly = true;
            options.nulEnds = true;
        } else if (std::strcmp(arg, "--all") == 0) {
            options.allTags = true;
        } else if (std::strcmp(arg, "--stats") == 0) {
            options.stats = true;
        } else if (std::strcmp(arg, "--csv") == 0) {
            if (!setFormat(Options::Format::Csv, arg))
                return false;
        } else if (std::strcmp(arg, "--json") == 0) {
            if (!setFormat(Options::Format::Json, arg))
                return false;
        } else if (std::strcmp(arg, "-h") == 0 || std::strcmp(arg, "--help") == 0) {
            options.help = true;
        } else if (std::strcmp(arg, "--version") == 0) {
            options.version = true;
        } else {
            error = std::string("unknown option ") + arg;
            return false;
        }
    }
    if (options.stats &&
        (options.pathsOnly || options.allTags || options.format == Options::Format::Csv)) {
        error = "--stats prints its counts as text or with --json, not with --csv, --all, -l or -0";
        return false;
    }
    if (options.pathsOnly && (formatGiven || options.allTags)) {
        error = "-l and -0 print paths only, not also --csv, --json or --all";
        return false;
    }
    if (!options.help && !options.version && options.operands.empty()) {
        error = "no file named";
        return false;
    }
    return true;
}

namespace {

constexpr const char* kUsage =
    "Usage: velmora-tags [-r] [--where QUERY] [--all] [--csv | --json | -l | -0] FILE...\n"
    "       velmora-tags [-r] [--where QUERY] --stats [--json] FILE...\n"
    "Prints the EXIF tags of photo files as the Properties pane shows them, or\n"
    "counts how they were shot.\n"
    "\n"
    "  -r, --recursive  read the photo files (JPEG, TIFF, raw, HEIF, AVIF, CR3,\n"
    "                   JPEG XL, PNG, WebP) and movies (MOV, MP4, M4V, 3GP) in\n"
    "                   the named folders and their subfolders, in name order\n"
    "  --where QUERY    only the files the query matches, e.g.\n"
    "                   'canon date:2023 iso:>=800 -flash:yes' (see below)\n"
    "  -l, --list       only the paths of the files, one a line\n"
    "  -0, --null       the same, each path ended by a NUL (for xargs -0)\n"
    "  --all            every tag (EXIF directories, XMP, IPTC, QuickTime) instead\n"
    "                   of the rows:\n"
    "                   Group:Name<TAB>Text lines\n"
    "  --stats          counts over all the files, as the Overview pane draws\n"
    "                   them: \"Photos<TAB><TAB>N\" (the files read with\n"
    "                   metadata), then \"Chart<TAB>Bin<TAB>Count\" lines, every\n"
    "                   bin: Cameras, Lenses, Focal length (35 mm terms where\n"
    "                   known, nearest of 4 ... 24, 28, 35, 50, 70 ... 800 mm),\n"
    "                   Aperture (thirds of a stop), ISO, Exposure time (full\n"
    "                   stops), Photos per day, Hour of day, Flash, Format; with\n"
    "                   --json one object {\"photos\": N, \"charts\": {\"camera\":\n"
    "                   [{\"bin\": \"Canon EOS 40D\", \"count\": 3}, ...], \"lens\":\n"
    "                   [...], \"focal\", \"aperture\", \"iso\", \"exposure\", \"day\",\n"
    "                   \"hour\", \"flash\", \"format\"}}\n"
    "  --csv            one line per file: the path, then one column per tag\n"
    "                   (with --all: path,group,name,value, one line per tag)\n"
    "  --json           one JSON object per file and line, with the whole record\n"
    "                   (with --all: path, format and the list of tags)\n"
    "  --readers N      files read at once (default 8, which keeps a disk busy;\n"
    "                   1 reads them one after another); the output is the same\n"
    "  -h, --help       show this help and exit\n"
    "  --version        show the version and exit\n"
    "\n"
    "Exit status: 0 when every file had EXIF data, 1 when some had none,\n"
    "2 when some could not be read or the command line was wrong.\n"
    "With --where: 0 when some file matched, 1 when none did, 2 as above.\n";

} // namespace

const char* UsageText() {
    static const std::string text = std::string(kUsage) + "\nQUERY:\n" + kQueryHelp + "\n";
    return text.c_str();
}

const char* VersionText() {
    static const std::string text = std::string("velmora-tags ") + kVelmoraVersion + "\n";
    return text.c_str();
}
