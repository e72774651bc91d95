// The EXIF block: its header, the walk of its image file directories and
// what each interpreted tag stores in the record.

#include "metadata/ExifTags.h"
#include "metadata/JpegExifReader.h"
#include "metadata/tiff/TiffDirectory.h"
#include "metadata/tiff/TiffHeader.h"
#include "metadata/tiff/TiffValue.h"

#include <cmath>
#include <cstring>

namespace {

constexpr uint32_t kHeaderSize = 14; // "Exif\0\0", byte order, 42, first offset

// Inches per ResolutionUnit code; 0 for a code that changes nothing.
float InchesPerUnit(int32_t code) {
    switch (code) {
    case 1:
    case 2:
        return 1.0f;
    case 3:
        return 0.39370078f;
    case 4:
        return 0.039370079f;
    case 5:
        return 0.000039370079f;
    default:
        return 0;
    }
}

// Millimetres per FocalPlaneResolutionUnit code; 0 for a code that changes
// nothing.
float MillimetresPerUnit(int32_t code) {
    switch (code) {
    case 1:
    case 2:
        return 25.4f;
    case 3:
        return 10.0f;
    case 4:
        return 1.0f;
    case 5:
        return 0.001f;
    default:
        return 0;
    }
}

uint32_t AsUnsigned32(double v) {
    if (!(v > 0))
        return 0;
    if (v >= 4294967295.0)
        return UINT32_MAX;
    return static_cast<uint32_t>(v);
}

} // namespace

bool CJpegExifReader::ParseExifBlock(const unsigned char* payload, int segmentSize) {
    if (payload == nullptr || segmentSize < static_cast<int>(kHeaderSize) + 2 ||
        std::memcmp(payload, "Exif\0\0", 6) != 0) {
        summary->flashUsed = 0;
        summary->comment[0] = '\0';
        largestExifDimension = 0;
        walked.Clear();
        SetError("Incorrect Exif header");
        return false;
    }
    return ParseTiffBlock(payload + 6, static_cast<uint32_t>(segmentSize) - 8);
}

bool CJpegExifReader::ParseTiffBlock(const unsigned char* tiff, uint32_t length) {
    summary->flashUsed = 0;
    summary->comment[0] = '\0';
    largestExifDimension = 0;
    walked.Clear();

    if (tiff == nullptr || length < kHeaderSize - 6) {
        SetError("Incorrect Exif header");
        return false;
    }
    TiffHeader header;
    if (!ReadTiffHeader(tiff, length, header)) {
        SetError("Invalid Exif alignment marker.");
        return false;
    }
    byteOrder = header.order;
    if (header.magic != TiffHeader::kMagic) {
        SetError("Invalid Exif start (1)");
        return false;
    }

    blockBase = tiff;
    blockLength = length;
    // The offset is taken as a signed number: one past 2^31 is as wrong as
    // one past the block.
    const uint32_t firstOffset = header.firstOffset;
    if (firstOffset < 8 || firstOffset > uint32_t{INT32_MAX} || firstOffset > blockLength) {
        SetError("Suspicious offset of first IFD value");
        return false;
    }
    if (!WalkDirectory(firstOffset, 0))
        return false;

    if (summary->focalPlaneXResolution != 0) {
        summary->ccdWidth =
            static_cast<float>(static_cast<double>(summary->focalPlaneUnit) * largestExifDimension /
                               summary->focalPlaneXResolution);
    }
    return true;
}

void CJpegExifReader::FollowLink(uint32_t target, int depth) {
    // A link outside the block (or past 2^31, as a signed number) is
    // dropped; the directory holding it goes on.
    if (target > uint32_t{INT32_MAX} || target > blockLength) {
        SetError("Illegal subdirectory link");
        return;
    }
    // A linked directory that fails ends only its own walk.
    WalkDirectory(target, depth + 1);
}

bool CJpegExifReader::WalkDirectory(uint32_t offset, int depth) {
    // Loops and needless depth end here, silently; the next directory of a
    // chain counts one deeper, as a linked one does.
    if (TiffLimits::TooDeep(depth) || walked.Enter(offset) != VisitedDirectories::Entered::New)
        return false;

    const TiffDirectory directory(TiffSpan{blockBase, blockLength, 0, byteOrder}, offset);
    if (!directory.Valid() || !directory.AllEntriesFit()) {
        SetError("Illegally sized directory");
        return false;
    }

    Thumbnail thumbnail{0, 0};
    for (uint32_t i = 0; i < directory.DeclaredCount(); ++i) {
        const TiffEntry entry = directory.Entry(i);
        const unsigned tag = entry.tag;
        const unsigned format = entry.type;
        if (format < kTiffByte || format > kTiffDouble) {
            SetError("Illegal format code in EXIF dir");
            continue;
        }

        // A count that cannot be a size (negative as a signed number, or a
        // byte count past 32 bits) is a garbled entry, not a garbled
        // directory: it is skipped like a bad format, and the walk goes on.
        const uint64_t byteCount = entry.ByteCount();
        if (entry.count > uint32_t{INT32_MAX} || byteCount > UINT32_MAX) {
            SetError("Illegal pointer offset value in EXIF.");
            continue;
        }
        // A value offset outside the block (or negative as a signed number)
        // garbles the whole directory.
        TiffValue value;
        if ((!entry.IsInline() && entry.valueField > uint32_t{INT32_MAX}) ||
            directory.Locate(entry, value) != TiffValueFault::None) {
            SetError("Illegal pointer offset value in EXIF.");
            return false;
        }
        const uint32_t valueOffset = static_cast<uint32_t>(value.data - blockBase);

        ApplyTag(tag, format, valueOffset, static_cast<uint32_t>(byteCount), thumbnail);

        // The link is read as a LONG whatever the entry's type says.
        if (tag == ExifTag::ExifIfd || tag == ExifTag::InteropIfd)
            FollowLink(TiffRead32(blockBase + valueOffset, byteOrder), depth);
        else if (tag == ExifTag::GpsIfd && byteCount >= 4)
            NoteGpsPosition(TiffRead32(blockBase + valueOffset, byteOrder));
    }

    // A next-directory offset that does not fit in the block counts as none.
    if (uint32_t next = 0; directory.NextLink(next) && next != 0)
        FollowLink(next, depth);

    if (thumbnail.offset != 0 && thumbnail.length != 0 &&
        uint64_t{thumbnail.offset} + thumbnail.length <= blockLength) {
        summary->thumbnailData = blockBase + thumbnail.offset;
        summary->thumbnailLength = thumbnail.length;
    }
    return true;
}

void CJpegExifReader::NoteGpsPosition(uint32_t offset) {
    const TiffDirectory gps(TiffSpan{blockBase, blockLength, 0, byteOrder}, offset);
    // Degrees, minutes and seconds, within their range, as the every-tag
    // walk's position asks: a camera without a fix may write zeros.
    const auto degrees = [&gps](uint16_t tag, double most) {
        TiffEntry entry;
        TiffValue value;
        if (!gps.Valid() || !gps.Find(tag, entry) || entry.type != kTiffRational ||
            entry.count < 3 || gps.Locate(entry, value) != TiffValueFault::None)
            return false;
        double sum = 0;
        for (uint32_t i = 0; i < 3; ++i) {
            const TiffFraction part = TiffFractionAt(value, i);
            if (part.den == 0)
                return false;
            sum += double(part.num) / double(part.den) / (i == 0 ? 1 : i == 1 ? 60 : 3600);
        }
        return sum <= most;
    };
    constexpr uint16_t kLatitude = 0x0002;
    constexpr uint16_t kLongitude = 0x0004;
    if (degrees(kLatitude, 90) && degrees(kLongitude, 180))
        summary->gpsPosition = true;
}

void CJpegExifReader::ApplyTag(unsigned tag, unsigned format, uint32_t valueOffset,
                               uint32_t byteCount, Thumbnail& thumbnail) {
    if (!ApplyImageTag(tag, format, valueOffset, byteCount, thumbnail) &&
        !ApplyExposureTag(tag, format, valueOffset))
        ApplyPictureTag(tag, format, valueOffset, byteCount);
}

bool CJpegExifReader::IsInfinite(unsigned format, uint32_t valueOffset) const {
    const TiffValue value{blockBase + valueOffset, blockLength - valueOffset,
                          static_cast<uint16_t>(format), byteOrder};
    return format == kTiffRational && TiffFractionAt(value, 0).num == UINT32_MAX;
}

// The camera, orientation, resolution and thumbnail (IFD0 and IFD1).
bool CJpegExifReader::ApplyImageTag(unsigned tag, unsigned format, uint32_t valueOffset,
                                    uint32_t byteCount, Thumbnail& thumbnail) {
    ExifSummary& s = *summary;
    auto number = [&] { return static_cast<float>(NumberAt(format, valueOffset)); };
    auto integer = [&] { return IntegerAt(format, valueOffset); };

    switch (tag) {
    case ExifTag::Make:
        CopyText(s.cameraMake, sizeof s.cameraMake - 1, valueOffset, byteCount);
        return true;
    case ExifTag::Model:
        CopyText(s.cameraModel, sizeof s.cameraModel - 1, valueOffset, byteCount);
        return true;
    case ExifTag::Orientation:
        s.orientation = integer();
        if (s.orientation < 1 || s.orientation > 8) {
            SetError("Undefined rotation value");
            s.orientation = 0;
        }
        return true;
    case ExifTag::XResolution:
        s.xResolution = number();
        return true;
    case ExifTag::YResolution:
        s.yResolution = number();
        return true;
    case ExifTag::ResolutionUnit:
        if (float factor = InchesPerUnit(integer()); factor != 0)
            s.resolutionUnit = factor;
        return true;
    case ExifTag::JpegInterchangeFormat:
        thumbnail.offset = AsUnsigned32(NumberAt(format, valueOffset));
        return true;
    case ExifTag::JpegInterchangeFormatLength:
        thumbnail.length = AsUnsigned32(NumberAt(format, valueOffset));
        return true;
    default:
        return false;
    }
    return true;
}

// How the shot was exposed.
bool CJpegExifReader::ApplyExposureTag(unsigned tag, unsigned format, uint32_t valueOffset) {
    ExifSummary& s = *summary;
    auto number = [&] { return static_cast<float>(NumberAt(format, valueOffset)); };
    auto integer = [&] { return IntegerAt(format, valueOffset); };

    switch (tag) {
    case ExifTag::ExposureTime:
        s.exposureTime = number();
        return true;
    case ExifTag::FNumber:
        s.fNumber = number();
        return true;
    case ExifTag::ExposureProgram:
        s.exposureProgram = integer();
        return true;
    case ExifTag::IsoSpeed:
        // Stored as recorded: values below 50 are real speeds (ISO 20 to 40).
        s.isoEquivalent = integer();
        return true;
    case ExifTag::CompressedBitsPerPixel:
        s.jpegQuality = integer();
        return true;
    case ExifTag::ShutterSpeedValue:
        if (s.exposureTime == 0)
            s.exposureTime =
                static_cast<float>(1 / std::exp(std::log(2.0) * NumberAt(format, valueOffset)));
        return true;
    case ExifTag::ApertureValue:
    case ExifTag::MaxApertureValue:
        if (s.fNumber == 0)
            s.fNumber =
                static_cast<float>(std::exp(std::log(2.0) * NumberAt(format, valueOffset) * 0.5));
        return true;
    case ExifTag::BrightnessValue:
        s.brightness = number();
        return true;
    case ExifTag::ExposureBiasValue:
        s.exposureBias = number();
        return true;
    case ExifTag::SubjectDistance:
        // A numerator of 0xFFFFFFFF means infinity; the record keeps it as a
        // negative distance (as it keeps a negative SRATIONAL one).
        s.subjectDistance = IsInfinite(format, valueOffset) ? -1.0f : number();
        return true;
    case ExifTag::MeteringMode:
        s.meteringMode = integer();
        return true;
    case ExifTag::LightSource:
        s.lightSource = integer();
        return true;
    case ExifTag::Flash:
        s.flashUsed = (integer() & 7) != 0 ? 1 : 0;
        return true;
    case ExifTag::FocalLength:
        s.focalLength = number();
        return true;
    default:
        return false;
    }
    return true;
}

// The EXIF version, date, comment, picture size and focal plane.
bool CJpegExifReader::ApplyPictureTag(unsigned tag, unsigned format, uint32_t valueOffset,
                                      uint32_t byteCount) {
    ExifSummary& s = *summary;
    auto number = [&] { return static_cast<float>(NumberAt(format, valueOffset)); };
    auto integer = [&] { return IntegerAt(format, valueOffset); };

    switch (tag) {
    case ExifTag::ExifVersion:
        CopyText(s.exifVersion, sizeof s.exifVersion - 1, valueOffset, byteCount);
        return true;
    case ExifTag::DateTimeOriginal:
        CopyText(s.dateTime, sizeof s.dateTime - 1, valueOffset, byteCount);
        return true;
    case ExifTag::LensModel:
        CopyText(s.lensModel, sizeof s.lensModel - 1, valueOffset, byteCount);
        return true;
    case ExifTag::UserComment:
        StoreUserComment(valueOffset, byteCount);
        return true;
    case ExifTag::PixelXDimension:
    case ExifTag::PixelYDimension:
        if (int32_t dimension = integer(); dimension > largestExifDimension)
            largestExifDimension = dimension;
        return true;
    case ExifTag::FocalPlaneXResolution:
        s.focalPlaneXResolution = number();
        return true;
    case ExifTag::FocalPlaneYResolution:
        s.focalPlaneYResolution = number();
        return true;
    case ExifTag::FocalPlaneResolutionUnit:
        if (float factor = MillimetresPerUnit(integer()); factor != 0)
            s.focalPlaneUnit = factor;
        return true;
    default:
        return false;
    }
    return true;
}
