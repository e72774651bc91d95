#include "presentation/window/PhotoColumns.h"

#include "presentation/FileInspection.h"

#include <QDateTime>
#include <QTimeZone>

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

// EXIF dates read "YYYY:MM:DD HH:MM:SS"; other text sorts after the dates.
FileColumnCell DateCell(const QString& text) {
    FileColumnCell cell{text, std::nullopt};
    QDateTime date = QDateTime::fromString(text, QStringLiteral("yyyy:MM:dd HH:mm:ss"));
    if (date.isValid()) {
        date.setTimeZone(QTimeZone::utc());
        cell.number = double(date.toSecsSinceEpoch());
    }
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
    return {QStringLiteral("Date Taken"),  QStringLiteral("Camera"),   QStringLiteral("Dimensions"),
            QStringLiteral("Exposure"),    QStringLiteral("Aperture"), QStringLiteral("ISO"),
            QStringLiteral("Focal Length")};
}

std::vector<FileColumnCell> PhotoColumns::Read(const QByteArray& path) const {
    if (path.isEmpty() || path.contains('\0'))
        return {};
    FileReport report;
    std::string error;
    if (!InspectFile(path.constData(), report, error))
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
    return cells;
}
