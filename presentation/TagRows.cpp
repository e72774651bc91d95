#include "presentation/TagRows.h"

#include "metadata/containers/MovieMetadata.h"
#include "presentation/EightBitText.h"
#include "presentation/NumberText.h"
#include "presentation/TagNames.h"

#include <cmath>
#include <utility>

namespace {

enum Row : std::size_t {
    CameraMake,
    CameraModel,
    DateTime,
    ExifVersion,
    WidthAndHeight,
    XResolution,
    YResolution,
    Orientation,
    FlashUsed,
    FocalLength,
    Equivalent35mm,
    CcdWidth,
    ExposureTime,
    Brightness,
    Aperture,
    FocusDistance,
    IsoEquivalent,
    ExposureBias,
    WhiteBalance,
    MeteringMode,
    Exposure,
    JpegQuality,
    Encoding,
    Comment,
};

constexpr std::array<const char*, 24> kLabels = {
    "Camera make",        "Camera model",       "Date/Time",     "Exif version", "Width and Height",
    "X Resolution (dpi)", "Y Resolution (dpi)", "Orientation",   "Flash Used",   "Focal length",
    "35mm Equivalent",    "CCD width",          "Exposure Time", "Brightness",   "Aperture",
    "Focus Dist",         "ISO Equiv",          "Exposure bias", "Whitebalance", "Metering Mode",
    "Exposure",           "Jpeg Quality",       "Encoding",      "Comment",
};

class RowList {
public:
    RowList() { m_rows.reserve(std::size(kLabels)); }
    void Add(Row row, std::string value) { m_rows.push_back({kLabels[row], std::move(value)}); }
    std::vector<TagRow> Take() { return std::move(m_rows); }

private:
    std::vector<TagRow> m_rows;
};

std::string NameOrNumber(const char* name, int32_t code) {
    return name ? std::string(name) : IntegerText(code);
}

// An integer-valued double written as "%d" would write the int. Going
// through double rather than int keeps quotients of hostile values (a tiny
// sensor width, a tiny exposure time) away from an out-of-range conversion;
// adding 0.0 turns a truncated -0.0 into 0.
std::string WholeNumberText(double value) {
    return FixedText(std::trunc(value) + 0.0, 0, 0);
}

// "1/n" for the usual short times, seconds for longer ones. Only a positive
// time has a meaningful reciprocal; a negative or NaN one shows as it stands.
std::string ExposureTimeText(float seconds) {
    if (seconds > 0 && seconds <= 0.5f)
        return "1/" + WholeNumberText(1.0 / seconds + 0.5);
    return FixedText(seconds, 6, 3) + " s ";
}

// Continuation lines are indented by one blank; a final line feed is dropped.
std::string CommentText(const ExifSummary& record) {
    const std::size_t length = BoundedLength(record.comment, sizeof record.comment);
    const std::string_view bytes(record.comment, length);
    const bool utf8 = IsUtf8(bytes);
    std::string text;
    text.reserve(length + length / 2);
    for (std::size_t i = 0; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == '\n') {
            if (i + 1 < length)
                text += "\n ";
            continue;
        }
        AppendTextByte(text, byte, utf8);
    }
    return text;
}

} // namespace

const std::array<const char*, 24>& TagRowLabels() {
    return kLabels;
}

std::vector<TagRow> BuildTagRows(const ExifSummary& r) {
    return BuildTagRows(r, PhotoFormat::Jpeg);
}

namespace {

// The first rows of photos and movies alike.
void AddCameraAndDate(RowList& rows, const ExifSummary& r) {
    if (r.cameraMake[0] != '\0')
        rows.Add(CameraMake, FieldText(r.cameraMake));
    if (r.cameraModel[0] != '\0')
        rows.Add(CameraModel, FieldText(r.cameraModel));
    if (r.dateTime[0] != '\0')
        rows.Add(DateTime, FieldText(r.dateTime));
}

// A movie's rows: only those its header and items can fill, the codec as
// its encoding.
std::vector<TagRow> BuildMovieRows(const ExifSummary& r, PhotoFormat format) {
    RowList rows;
    AddCameraAndDate(rows, r);
    if (r.width > 0 && r.height > 0)
        rows.Add(WidthAndHeight, IntegerText(r.width) + " ," + IntegerText(r.height));
    const char* codec = MovieCodecName(r.videoCodec);
    rows.Add(Encoding, codec != nullptr ? codec : FormatDisplayName(format));
    return rows.Take();
}

} // namespace

std::vector<TagRow> BuildTagRows(const ExifSummary& r, PhotoFormat format) {
    if (IsMovieFormat(format))
        return BuildMovieRows(r, format);
    RowList rows;
    AddCameraAndDate(rows, r);
    if (r.exifVersion[0] != '\0')
        rows.Add(ExifVersion, FieldText(r.exifVersion));

    rows.Add(WidthAndHeight, IntegerText(r.width) + " ," + IntegerText(r.height));

    if (r.resolutionUnit != 0 && r.xResolution != 0)
        rows.Add(XResolution, FixedText(double(r.xResolution) / r.resolutionUnit, 5, 1));
    if (r.resolutionUnit != 0 && r.yResolution != 0)
        rows.Add(YResolution, FixedText(double(r.yResolution) / r.resolutionUnit, 5, 1));

    if (r.orientation > 1)
        rows.Add(Orientation, NameOrNumber(OrientationName(r.orientation), r.orientation));

    if (r.flashUsed >= 0)
        rows.Add(FlashUsed, r.flashUsed != 0 ? "Yes" : "No");

    if (r.focalLength != 0) {
        rows.Add(FocalLength, FixedText(r.focalLength, 4, 1) + "mm");
        if (r.ccdWidth != 0)
            rows.Add(Equivalent35mm,
                     WholeNumberText(double(r.focalLength) / r.ccdWidth * 36 + 0.5) + "mm");
    }
    if (r.ccdWidth != 0)
        rows.Add(CcdWidth, FixedText(r.ccdWidth, 4, 2) + "mm");

    if (r.exposureTime != 0)
        rows.Add(ExposureTime, ExposureTimeText(r.exposureTime));
    if (r.brightness != 0)
        rows.Add(Brightness, FixedText(r.brightness, 6, 3));
    if (r.fNumber != 0)
        rows.Add(Aperture, "f/" + FixedText(r.fNumber, 3, 1));
    if (r.subjectDistance != 0)
        rows.Add(FocusDistance, r.subjectDistance < 0 ? std::string("Infinite")
                                                      : FixedText(r.subjectDistance, 4, 2) + "m");
    if (r.isoEquivalent != 0)
        rows.Add(IsoEquivalent, IntegerText(r.isoEquivalent, 2));
    if (r.exposureBias != 0)
        rows.Add(ExposureBias, FixedText(r.exposureBias, 4, 2));

    if (r.lightSource != 0)
        rows.Add(WhiteBalance, NameOrNumber(LightSourceName(r.lightSource), r.lightSource));
    if (r.meteringMode != 0)
        rows.Add(MeteringMode, NameOrNumber(MeteringModeName(r.meteringMode), r.meteringMode));
    if (r.exposureProgram != 0)
        rows.Add(Exposure, NameOrNumber(ExposureProgramName(r.exposureProgram), r.exposureProgram));
    if (r.jpegQuality != 0)
        rows.Add(JpegQuality, NameOrNumber(JpegQualityName(r.jpegQuality), r.jpegQuality));

    rows.Add(Encoding, format == PhotoFormat::Jpeg ? std::string(EncodingName(r.encodingProcess))
                                                   : std::string(FormatDisplayName(format)));
    rows.Add(Comment, CommentText(r));
    return rows.Take();
}
