#include "presentation/window/ShowFileTags.h"

#include "presentation/FileInspection.h"
#include "presentation/window/MetadataWnd.h"
#include "presentation/window/PropertiesWnd.h"

#include <QFile>

#include <cstdio>
#include <string>
#include <utility>

#include <unistd.h>

bool ShowFileTags(const QByteArray& path, CPropertiesWnd& pane, CMetadataWnd* metadata) {
    // A name with a zero byte inside names no file; the C calls would see a
    // shorter, different name.
    if (path.isEmpty() || path.contains('\0'))
        return false;
    const char* name = path.constData();
    if (::access(name, F_OK) != 0 || ::access(name, R_OK) != 0)
        return false;

    // One reading for both panes: the rows, and every tag when they are shown.
    FileReport report;
    std::string error;
    InspectOptions options;
    options.allTags = metadata != nullptr;
    InspectFile(name, report, error, options);
    if (!report.opened)
        return true;
    for (const std::string& message : report.printed)
        std::fputs(message.c_str(), stdout);
    std::fflush(stdout);

    pane.TagList().clear();
    if (metadata)
        metadata->FillEntries(std::move(report.tags));
    if (!report.record.exifValid)
        return false;
    pane.FillTagRows(report.rows);
    return true;
}

bool ShowFileTags(const QString& path, CPropertiesWnd& pane, CMetadataWnd* metadata) {
    return ShowFileTags(QFile::encodeName(path), pane, metadata);
}
