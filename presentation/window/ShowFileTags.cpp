#include "presentation/window/ShowFileTags.h"

#include "presentation/FileInspection.h"
#include "presentation/window/MetadataWnd.h"
#include "presentation/window/PropertiesWnd.h"

#include <QFile>

#include <cstdio>
#include <string>

#include <unistd.h>

namespace {

// Every tag of the report, once the inspection lists them.
template <typename Report> const std::vector<MetadataEntry>& TagsOf(const Report& report) {
    if constexpr (requires { report.tags; }) {
        return report.tags;
    } else {
        static const std::vector<MetadataEntry> none;
        return none;
    }
}

} // namespace

bool ShowFileTags(const QByteArray& path, CPropertiesWnd& pane, CMetadataWnd* metadata) {
    // A name with a zero byte inside names no file; the C calls would see a
    // shorter, different name.
    if (path.isEmpty() || path.contains('\0'))
        return false;
    const char* name = path.constData();
    if (::access(name, F_OK) != 0 || ::access(name, R_OK) != 0)
        return false;

    FileReport report;
    std::string error;
    InspectFile(name, report, error);
    if (!report.opened)
        return true;
    for (const std::string& message : report.printed)
        std::fputs(message.c_str(), stdout);
    std::fflush(stdout);

    pane.TagList().clear();
    if (metadata)
        metadata->FillEntries(TagsOf(report));
    if (!report.record.exifValid)
        return false;
    pane.FillTagRows(report.rows);
    return true;
}

bool ShowFileTags(const QString& path, CPropertiesWnd& pane, CMetadataWnd* metadata) {
    return ShowFileTags(QFile::encodeName(path), pane, metadata);
}
