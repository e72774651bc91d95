#include "presentation/window/PhotoColumns.h"

#include "presentation/CameraName.h"
#include "presentation/FileInspection.h"
#include "presentation/window/PhotoFacts.h"

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace {

// The texts many photos share ("Canon EOS 40D", "f/2.8", "1/250"), made
// once on each reading thread and shared by the cells that show them: a
// search lists tens of thousands of photos, and a text made anew for each
// is an allocation kept with its row. Bounded: it starts over when full.
class SharedTexts {
public:
    // The text made of `key` by `make`, made only the first time.
    template <typename Make> QString Of(std::string_view key, const Make& make) {
        const auto found = m_texts.find(key);
        if (found != m_texts.end())
            return found->second;
        if (m_texts.size() >= kMost)
            m_texts.clear();
        return m_texts.emplace(std::string(key), make()).first->second;
    }

private:
    static constexpr size_t kMost = 1024;
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };
    std::unordered_map<std::string, QString, Hash, std::equal_to<>> m_texts;
};

const std::string* RowText(const std::vector<TagRow>& rows, std::string_view label) {
    for (const TagRow& row : rows)
        if (row.label == label)
            return &row.value;
    return nullptr;
}

// A row's value as the pane shows it but without the blanks the
// fixed-width numbers carry; empty when the row is absent.
QString Trimmed(const std::string* value) {
    return value != nullptr ? QString::fromUtf8(*value).trimmed() : QString();
}

// The same, shared with the cells of other photos.
QString SharedRowValue(const std::vector<TagRow>& rows, std::string_view label) {
    thread_local SharedTexts values;
    const std::string* value = RowText(rows, label);
    if (value == nullptr)
        return {};
    return values.Of(*value, [value] { return Trimmed(value); });
}

// The camera as CameraName names it from the make and model rows.
QString CameraCell(const std::vector<TagRow>& rows) {
    thread_local SharedTexts cameras;
    const std::string* make = RowText(rows, "Camera make");
    const std::string* model = RowText(rows, "Camera model");
    std::string key = make != nullptr ? *make : std::string();
    key += '\0';
    key += model != nullptr ? *model : std::string();
    return cameras.Of(key, [make, model] {
        return QString::fromUtf8(
            CameraName(Trimmed(make).toStdString(), Trimmed(model).toStdString()));
    });
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
    // Each photo's own date; every other text is shared with other photos.
    cells[DateTaken] = DateCell(Trimmed(RowText(rows, "Date/Time")));
    // Named as the Overview's chart and the camera:= query name it.
    cells[Camera] = {CameraCell(rows), std::nullopt};
    // The pane writes "0 ,0" for a picture of unknown size.
    if (r.width > 0 || r.height > 0)
        cells[Dimensions] = NumberCell(SharedRowValue(rows, "Width and Height"),
                                       double(r.width) * double(r.height));
    cells[Exposure] = NumberCell(SharedRowValue(rows, "Exposure Time"), r.exposureTime);
    cells[Aperture] = NumberCell(SharedRowValue(rows, "Aperture"), r.fNumber);
    cells[Iso] = NumberCell(SharedRowValue(rows, "ISO Equiv"), r.isoEquivalent);
    cells[FocalLength] = NumberCell(SharedRowValue(rows, "Focal length"), r.focalLength);
    thread_local SharedTexts lenses;
    cells[Lens] = {lenses.Of(report.lens, [&report] { return QString::fromUtf8(report.lens); }),
                   std::nullopt};
    return cells;
}
