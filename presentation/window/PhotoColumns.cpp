#include "presentation/window/PhotoColumns.h"

#include "presentation/CameraName.h"
#include "presentation/FileInspection.h"
#include "presentation/window/PhotoFacts.h"

#include <chrono>
#include <string_view>

namespace {

// The value of the row labelled `label`, as the pane shows it but without
// the blanks the fixed-width numbers carry; empty when the row is absent.
QString RowValue(const std::vector<TagRow>& rows, std::string_view label) {
    for (const TagRow& row : rows)
        if (row.label == label)
            return QString::fromUtf8(row.value).trimmed();
    return {};
}

// A cell sorted by `number`, only when the row is there.
FileColumnCell NumberCell(const QString& text, double number) {
    FileColumnCell cell{text, std::nullopt};
    if (!text.isEmpty())
        cell.number = number;
    return cell;
}

// The number of `count` digits at `at`; -1 when one is not a digit.
int Digits(const QString& text, qsizetype at, int count) {
    int value = 0;
    for (qsizetype i = at; i < at + count; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

// EXIF dates read "YYYY:MM:DD HH:MM:SS"; other text sorts after the dates.
// Read by hand: a search makes this cell for every photo it finds, and
// QDateTime's parsing of a format costs more than reading the file's record.
FileColumnCell DateCell(const QString& text) {
    FileColumnCell cell{text, std::nullopt};
    if (text.size() != 19 || text[4] != u':' || text[7] != u':' || text[10] != u' ' ||
        text[13] != u':' || text[16] != u':')
        return cell;
    const int year = Digits(text, 0, 4);
    const int month = Digits(text, 5, 2);
    const int day = Digits(text, 8, 2);
    const int hour = Digits(text, 11, 2);
    const int minute = Digits(text, 14, 2);
    const int second = Digits(text, 17, 2);
    const std::chrono::year_month_day date{std::chrono::year(year),
                                           std::chrono::month(unsigned(month)),
                                           std::chrono::day(unsigned(day))};
    if (year < 1 || month < 0 || day < 0 || !date.ok() || hour < 0 || hour > 23 || minute < 0 ||
        minute > 59 || second < 0 || second > 59)
        return cell;
    const auto days = std::chrono::sys_days(date).time_since_epoch().count();
    cell.number = double(days) * 86400.0 + hour * 3600 + minute * 60 + second;
    return cell;
}

} // namespace

QStringList PhotoColumns::Titles() const {
    return {QStringLiteral("Date Taken"),   QStringLiteral("Camera"),
            QStringLiteral("Dimensions"),   QStringLiteral("Exposure"),
            QStringLiteral("Aperture"),     QStringLiteral("ISO"),
            QStringLiteral("Focal Length"), QStringLiteral("Lens")};
}

int PhotoColumns::StartWidth(int column) const {
    switch (column) {
    case DateTaken:
        return 19;
    case Lens:
        return 34;
    default:
        return 0;
    }
}

std::vector<FileColumnCell> PhotoColumns::Read(const QByteArray& path) const {
    FileFactsPtr facts;
    return ReadWithFacts(path, facts);
}

std::vector<FileColumnCell> PhotoColumns::ReadWithFacts(const QByteArray& path,
                                                        FileFactsPtr& facts) const {
    facts.reset();
    if (path.isEmpty() || path.contains('\0'))
        return {};
    FileReport report;
    std::string error;
    InspectOptions options;
    options.lens = true;
    if (!InspectFile(path.constData(), report, error, options))
        return {};
    facts = PhotoFacts::Of(report);
    return CellsOf(report);
}

std::vector<FileColumnCell> PhotoColumns::CellsOf(const FileReport& report) {
    if (!report.record.exifValid)
        return {};
    const ExifSummary& r = report.record;
    const std::vector<TagRow>& rows = report.rows;
    std::vector<FileColumnCell> cells(Count);
    cells[DateTaken] = DateCell(RowValue(rows, "Date/Time"));
    // Named as the Overview's chart and the camera:= query name it.
    cells[Camera] = {QString::fromUtf8(CameraName(RowValue(rows, "Camera make").toStdString(),
                                                  RowValue(rows, "Camera model").toStdString())),
                     std::nullopt};
    // The pane writes "0 ,0" for a picture of unknown size.
    if (r.width > 0 || r.height > 0)
        cells[Dimensions] =
            NumberCell(RowValue(rows, "Width and Height"), double(r.width) * double(r.height));
    cells[Exposure] = NumberCell(RowValue(rows, "Exposure Time"), r.exposureTime);
    cells[Aperture] = NumberCell(RowValue(rows, "Aperture"), r.fNumber);
    cells[Iso] = NumberCell(RowValue(rows, "ISO Equiv"), r.isoEquivalent);
    cells[FocalLength] = NumberCell(RowValue(rows, "Focal length"), r.focalLength);
    cells[Lens] = {QString::fromUtf8(report.lens), std::nullopt};
    return cells;
}
