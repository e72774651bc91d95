#include "presentation/window/ShowFileTags.h"

#include "presentation/FileInspection.h"
#include "presentation/window/PropertiesWnd.h"

#include <QFile>

#include <cstdio>
#include <string>

#include <unistd.h>

bool ShowFileTags(const QByteArray& path, CPropertiesWnd& pane) {
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
    if (!report.record.exifValid)
        return false;
    pane.FillTagRows(report.rows);
    return true;
}

bool ShowFileTags(const QString& path, CPropertiesWnd& pane) {
    return ShowFileTags(QFile::encodeName(path), pane);
}
