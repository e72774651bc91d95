#include "tools/TagsCommand.h"

#include "presentation/FileInspection.h"
#include "presentation/InspectFoundFile.h"
#include "presentation/query/Query.h"
#include "reading/DirectoryWalk.h"
#include "reading/ReadOperands.h"
#include "reading/ReadingPool.h"
#include "tools/ReportFormat.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr const char* kProgram = "velmora-tags";

// Reads the files on the pool's readers and writes each one's output as it
// is delivered, in the walk's order, so memory does not grow with the
// number of files.
class TagsRun final : public FileJob {
public:
    // With a query, only the files it matches are written.
    TagsRun(ReportFormat& format, const Query* query, const InspectOptions& reading, std::FILE* out,
            std::FILE* err)
        : m_format(format), m_query(query), m_reading(reading), m_out(out), m_err(err) {}

    void Begin(size_t slots) {
        m_results.resize(slots);
        m_format.Begin(m_buffer);
        Flush();
    }

    // On a reader: the file is read and matched, and written there when its
    // text stands alone.
    void Read(const FoundFile& file, size_t slot) override {
        Result& result = m_results[slot];
        result.error.clear();
        // This thread's report keeps the room of its lists from file to file.
        thread_local FileReport report;
        ClearKeepingRoom(report);
        // Rows and lens are built only for the files the query matches.
        bool matched = m_query == nullptr;
        InspectOptions reading = m_reading;
        if (m_query != nullptr)
            reading.keep = [this, &matched](const FileReport& read) {
                return matched = m_query->Matches(QueryInputOf(read));
            };
        result.read = InspectFoundFile(file, report, result.error, reading);
        result.matched = result.read && matched;
        if (m_format.FilesStandAlone()) {
            // The slot keeps the text and what Deliver tells of besides.
            result.text.clear();
            if (result.matched)
                m_format.File(file.path, report, result.text);
            result.report.printed = std::move(report.printed);
            result.report.record.exifValid = report.record.exifValid;
            return;
        }
        // The slot takes the report; its tags only when they are written.
        std::vector<MetadataEntry> tags;
        if (!m_format.WantsAllTags())
            tags = std::move(report.tags);
        result.report = std::exchange(report, FileReport());
        report.tags = std::move(tags);
    }

    // In the walk's order: its output.
    void Deliver(const FoundFile& file, size_t slot) override {
        const std::string& path = file.path;
        if (!file.IsFile()) {
            Unreadable(path, file.reason);
            return;
        }
        Result& result = m_results[slot];
        if (!result.read) {
            Unreadable(path, result.error);
            return;
        }
        if (!result.matched)
            return;
        m_matched = true;
        const FileReport& report = result.report;
        if (!m_format.CarriesPrintedMessages()) {
            for (const std::string& message : report.printed)
                Complain(path, message);
        }
        if (m_format.FilesStandAlone() && m_buffer.empty())
            m_buffer.swap(result.text); // the text and the room are traded, not copied
        else if (m_format.FilesStandAlone())
            m_buffer += result.text;
        else
            m_format.File(path, report, m_buffer);
        Flush();
        if (!report.record.exifValid)
            Raise(kSomeWithoutExif);
    }

    // After the last file.
    void End() {
        m_format.End(m_buffer);
        Flush();
    }

    int Status() const {
        if (m_query == nullptr || m_status == kSomeUnreadable)
            return m_status;
        return m_matched ? kMatched : kNoneMatched;
    }

private:
    struct Result {
        // Whole, or only its messages and EXIF flag when `text` holds the
        // file's output.
        FileReport report;
        std::string text;
        std::string error;
        bool read = false;
        bool matched = false;
    };

    static void ClearKeepingRoom(FileReport& report) {
        std::vector<MetadataEntry> tags = std::move(report.tags);
        tags.clear();
        report = FileReport();
        report.tags = std::move(tags);
    }

    void Unreadable(const std::string& path, const std::string& reason) {
        Complain(path, reason);
        // A filtered output holds the matching files only; a file that
        // could not be read matches nothing.
        if (m_query == nullptr)
            m_format.Unreadable(path, reason, m_buffer);
        Flush();
        Raise(kSomeUnreadable);
    }

    void Complain(const std::string& path, const std::string& text) {
        std::fprintf(m_err, "%s: %s: %s", kProgram, path.c_str(), text.c_str());
        if (text.empty() || text.back() != '\n')
            std::fputc('\n', m_err);
    }

    void Flush() {
        if (!m_buffer.empty())
            std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_out);
        m_buffer.clear();
    }

    void Raise(int status) { m_status = std::max(m_status, status); }

    ReportFormat& m_format;
    const Query* m_query;
    const InspectOptions m_reading;
    // One per slot of the pool's window; read on the readers, delivered in
    // order.
    std::vector<Result> m_results;
    bool m_matched = false;
    std::FILE* m_out;
    std::FILE* m_err;
    std::string m_buffer; // reused from file to file
    int m_status = kAllHadExif;
};

// -l and -0: the path of each file, ended by a line feed or a NUL.
class PathList final : public ReportFormat {
public:
    explicit PathList(char end) : m_end(end) {}
    void File(const std::string& path, const FileReport&, std::string& out) override {
        out += path;
        out += m_end;
    }
    void Unreadable(const std::string&, const std::string&, std::string&) override {}
    bool FilesStandAlone() const override { return true; }

private:
    char m_end;
};

std::unique_ptr<ReportFormat> MakeFormat(const Options& options) {
    if (options.pathsOnly)
        return std::make_unique<PathList>(options.nulEnds ? '\0' : '\n');
    if (options.stats)
        return MakeStatsFormat(options.format == Options::Format::Json);
    switch (options.format) {
    case Options::Format::Csv:
        return options.allTags ? MakeAllTagsCsvFormat() : MakeCsvFormat();
    case Options::Format::Json:
        return options.allTags ? MakeAllTagsJsonFormat() : MakeJsonFormat();
    case Options::Format::Text:
        break;
    }
    // Blocks get a "PATH:" line whenever more than one file may follow.
    const bool headers =
        options.operands.size() > 1 ||
        (options.recursive && !options.operands.empty() && IsFolder(options.operands.front()));
    return MakeTextFormat(headers, options.allTags);
}

// A failed write (a full disk, a closed pipe) must not end in success.
int Finish(std::FILE* out, std::FILE* err, int status) {
    if (std::fflush(out) != 0 || std::ferror(out)) {
        std::fprintf(err, "%s: could not write the output\n", kProgram);
        return kSomeUnreadable;
    }
    return status;
}

// "velmora-tags: --where: at character 5: ..." with the query and a caret
// under the place.
void ComplainAboutQuery(const std::string& query, const QueryError& error, std::FILE* err) {
    std::fprintf(err, "%s: --where: %s\n  %s\n  %*s^\n", kProgram, error.Message().c_str(),
                 query.c_str(), static_cast<int>(error.column - 1), "");
}

} // namespace

InspectOptions ReadingFor(const Options& options, const Query* query) {
    InspectOptions reading;
    // Every tag is read when the output or the query needs them; a query
    // on the record's fields alone reads as the rows do.
    reading.allTags =
        options.allTags || (query != nullptr && query->Needs() == QueryNeeds::AllTags);
    // Every tag or the paths are printed in place of the rows.
    reading.rows = !options.allTags && !options.pathsOnly && !options.stats;
    // The counts name each photo's lens.
    reading.lens = options.stats;
    return reading;
}

int RunTags(const Options& options, std::FILE* out, std::FILE* err) {
    Query query;
    if (options.filtered) {
        QueryError error;
        if (!Query::Parse(options.where, query, error)) {
            ComplainAboutQuery(options.where, error, err);
            return kSomeUnreadable;
        }
    }
    const std::unique_ptr<ReportFormat> format = MakeFormat(options);
    const Query* filter = options.filtered ? &query : nullptr;
    TagsRun run(*format, filter, ReadingFor(options, filter), out, err);
    ReadingSettings settings;
    // One reader is the calling thread itself.
    settings.threads = options.readers > 1 ? options.readers : 0;
    // With more than one core the readers share the work from the start,
    // cached or not (measured over 30,000 cached JPEGs: 0.8-0.9 of one
    // reader's time), each writing the text of the files it read where that
    // text stands alone. On one core, cached files are read one after
    // another and the readers start at the first that came from a disk.
    settings.inlineWhileCached = UsableCores() <= 1;
    ReadingPool pool(run, settings);
    run.Begin(pool.Window());
    ReadOperands(pool, options.operands, options.recursive);
    run.End();
    return Finish(out, err, run.Status());
}

int RunCommandLine(int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
    Options options;
    std::string error;
    if (!ParseArguments(argc, argv, options, error)) {
        std::fprintf(err, "%s: %s\nTry '%s --help'.\n", kProgram, error.c_str(), kProgram);
        return kSomeUnreadable;
    }
    if (options.help) {
        std::fputs(UsageText(), out);
        return Finish(out, err, kAllHadExif);
    }
    if (options.version) {
        std::fputs(VersionText(), out);
        return Finish(out, err, kAllHadExif);
    }
    return RunTags(options, out, err);
}
