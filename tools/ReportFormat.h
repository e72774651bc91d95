#pragma once

#include "presentation/FileReport.h"

#include <memory>
#include <string>

// Turns the report of each file into output text, one file at a time, so
// nothing has to be kept between files.
class ReportFormat {
public:
    virtual ~ReportFormat() = default;
    // Written once, before the first file.
    virtual void Begin(std::string& out) { (void)out; }
    virtual void File(const std::string& path, const FileReport& report, std::string& out) = 0;
    // Written once, after the last file.
    virtual void End(std::string& out) { (void)out; }
    // A file that could not be opened or read; its reason also goes to
    // standard error.
    virtual void Unreadable(const std::string& path, const std::string& reason,
                            std::string& out) = 0;
    // Whether the reader's printed messages are part of this output; when
    // not, they go to standard error.
    virtual bool CarriesPrintedMessages() const { return false; }
    // Whether this output lists every tag (the reader then walks them all).
    virtual bool WantsAllTags() const { return false; }
    // Whether a file's text depends on that file alone, and File may be
    // called for several files at once from several threads: the text is
    // then made on the thread that read the file.
    virtual bool FilesStandAlone() const { return false; }
};

// The pane's rows as "Label<TAB>Value" lines, or with `allTags` every tag as
// "Group:Name<TAB>Text" lines. With `headers`, each file's block starts with
// "PATH:" and blocks are separated by an empty line.
std::unique_ptr<ReportFormat> MakeTextFormat(bool headers, bool allTags = false);
// A header line, then per file the path and one column for each of the 24
// row labels, quoted as RFC 4180 asks.
std::unique_ptr<ReportFormat> MakeCsvFormat();
// One JSON object per file and line.
std::unique_ptr<ReportFormat> MakeJsonFormat();

// With --stats: counts over every file, written at the end as
// "Chart<TAB>Bin<TAB>Count" lines or, with `json`, one JSON object.
std::unique_ptr<ReportFormat> MakeStatsFormat(bool json);

// With --all --json: one object per file and line, with "path", "format" and
// "tags", a list of {"group", "id", "name", "value", "text"}.
std::unique_ptr<ReportFormat> MakeAllTagsJsonFormat();
// With --all --csv: "path,group,name,value" in long form, a line per entry.
std::unique_ptr<ReportFormat> MakeAllTagsCsvFormat();
