#include "FileInspection.h"

#include "ByteStream.h"
#include "ExifSummary.h"
#include "JpegExifReader.h"
#include "MessageSink.h"
#include "PropertiesWnd.h"
#include "RegularFile.h"

#include <QFile>

#include <cstdio>
#include <cstring>

#include <unistd.h>

bool InspectFile(const QByteArray& path, CPropertiesWnd& pane) {
    // A name with a zero byte inside names no file; the C calls would see a
    // shorter, different name.
    if (path.isEmpty() || path.contains('\0'))
        return false;
    const char* name = path.constData();
    if (::access(name, F_OK) != 0 || ::access(name, R_OK) != 0)
        return false;

    std::FILE* file = OpenRegularFile(name);
    if (!file)
        return true;

    ExifSummary record;
    std::memset(&record, 0, sizeof record);
    // Lives until the rows are added: the record's thumbnail points into it.
    CJpegExifReader reader(&record, &DiscardingSink()); // nobody reads our stdout
    {
        FileStream stream(file);
        reader.ReadSections(stream);
    }
    std::fclose(file);

    pane.TagList().clear();
    if (!record.exifValid)
        return false;
    pane.FillTagList(record);
    return true;
}

bool InspectFile(const QString& path, CPropertiesWnd& pane) {
    return InspectFile(QFile::encodeName(path), pane);
}
