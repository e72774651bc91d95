#include "presentation/window/PhotoColumns.h"

#include "presentation/FileInspection.h"

#include <cstdint>
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

// Days from 1970-01-01 to the given day of the proleptic Gregorian calendar.
int64_t DaysFromEpoch(int64_t year, int month, int day) {
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// EXIF dates read "YYYY:MM:DD HH:MM:SS", sorted as that moment in UTC; other
// text sorts after the dates. Parsed by hand: a date parser with the time
// zone's rules cost the workers more per file than the rest of the cell.
FileColumnCell DateCell(const QString& text) {
    FileColumnCell cell{text, std::nullopt};
    static constexpr char kShape[] = "0000:00:00 00:00:00";
    if (text.size() != qsizetype(sizeof kShape - 1))
        return cell;
    int digits[14];
    int n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (kShape[i] != '0' ? c != char16_t(kShape[i]) : (c < u'0' || c > u'9'))
            return cell;
        if (kShape[i] == '0')
            digits[n++] = c - u'0';
    }
    auto number = [&digits](int at, int count) {
        int value = 0;
        for (int i = at; i < at + count; ++i)
            value = value * 10 + digits[i];
        return value;
    };
    const int year = number(0, 4), month = number(4, 2), day = number(6, 2);
    const int hour = number(8, 2), minute = number(10, 2), second = number(12, 2);
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
        hour > 23 || minute > 59 || second > 59)
        return cell;
    cell.number =
        double(DaysFromEpoch(year, month, day) * 86400 + hour * 3600 + minute * 60 + second);
    return cell;
}

// The model, and the make before it when the model does not already name it
// ("Canon" and "Canon EOS 5D" give "Canon EOS 5D").
QString CameraText(const QString& make, const QString& model) {
    if (model.isEmpty())
        return make;
    if (make.isEmpty() || model.startsWith(make, Qt::CaseInsensitive))
        return model;
    return make + u' ' + model;
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
    if (path.isEmpty() || path.contains('\0'))
        return {};
    FileReport report;
    std::string error;
    InspectOptions options;
    options.lens = true;
    if (!InspectFile(path.constData(), report, error, options))
        return {};
    return CellsOf(report);
}

std::vector<FileColumnCell> PhotoColumns::CellsOf(const FileReport& report) {
    if (!report.record.exifValid)
        return {};
    const ExifSummary& r = report.record;
    const std::vector<TagRow>& rows = report.rows;
    std::vector<FileColumnCell> cells(Count);
    cells[DateTaken] = DateCell(RowValue(rows, "Date/Time"));
    cells[Camera] = {CameraText(RowValue(rows, "Camera make"), RowValue(rows, "Camera model")),
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
