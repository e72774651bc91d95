// The EXIF block: its header, the walk of its image file directories and
// what each interpreted tag stores in the record.

#include "metadata/ExifTags.h"
#include "metadata/JpegExifReader.h"

#include <cmath>
#include <cstring>

namespace {

constexpr uint32_t kHeaderSize = 14; // "Exif\0\0", byte order, 42, first offset
constexpr uint32_t kEntrySize = 12;

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

bool CJpegExifReader::ParseExifBlock(unsigned char* payload, int segmentSize) {
    if (payload == nullptr || segmentSize < static_cast<int>(kHeaderSize) + 2 ||
        std::memcmp(payload, "Exif\0\0", 6) != 0) {
        summary->flashUsed = 0;
        summary->comment[0] = '\0';
        largestExifDimension = 0;
        walkedCount = 0;
        SetError("Incorrect Exif header");
        return false;
    }
    return ParseTiffBlock(payload + 6, static_cast<uint32_t>(segmentSize) - 8);
}

bool CJpegExifReader::ParseTiffBlock(unsigned char* tiff, uint32_t length) {
    summary->flashUsed = 0;
    summary->comment[0] = '\0';
    largestExifDimension = 0;
    walkedCount = 0;

    if (tiff == nullptr || length < kHeaderSize - 6) {
        SetError("Incorrect Exif header");
        return false;
    }
    if (tiff[0] == 'I' && tiff[1] == 'I') {
        bigEndian = 0;
    } else if (tiff[0] == 'M' && tiff[1] == 'M') {
        bigEndian = 1;
    } else {
        SetError("Invalid Exif alignment marker.");
        return false;
    }
    if (ReadU16(tiff + 2) != 42) {
        SetError("Invalid Exif start (1)");
        return false;
    }

    blockBase = tiff;
    blockLength = length;
    int32_t firstOffset = ReadS32(tiff + 4);
    if (firstOffset < 8 || static_cast<uint32_t>(firstOffset) > blockLength) {
        SetError("Suspicious offset of first IFD value");
        return false;
    }
    if (!WalkDirectory(static_cast<uint32_t>(firstOffset), 0))
        return false;

    if (summary->focalPlaneXResolution != 0) {
        summary->ccdWidth =
            static_cast<float>(static_cast<double>(summary->focalPlaneUnit) * largestExifDimension /
                               summary->focalPlaneXResolution);
    }
    return true;
}

bool CJpegExifReader::MarkWalked(uint32_t offset) {
    for (int i = 0; i < walkedCount; ++i) {
        if (walkedOffsets[i] == offset)
            return false;
    }
    if (walkedCount == kMaxWalkedDirectories)
        return false;
    walkedOffsets[walkedCount++] = offset;
    return true;
}

void CJpegExifReader::FollowLink(int32_t target, int depth) {
    // A link outside the block is dropped; the directory holding it goes on.
    if (target < 0 || static_cast<uint32_t>(target) > blockLength) {
        SetError("Illegal subdirectory link");
        return;
    }
    // A linked directory that fails ends only its own walk.
    WalkDirectory(static_cast<uint32_t>(target), depth + 1);
}

bool CJpegExifReader::WalkDirectory(uint32_t offset, int depth) {
    // Loops and needless depth end here, silently: see the bound in the header.
    if (depth >= kMaxDirectoryDepth || !MarkWalked(offset))
        return false;

    // All sums below are of values at most 2^32 each, done in 64 bits.
    if (uint64_t{offset} + 2 > blockLength) {
        SetError("Illegally sized directory");
        return false;
    }
    unsigned char* directory = blockBase + offset;
    uint32_t count = ReadU16(directory);
    uint64_t entriesEnd = uint64_t{offset} + 2 + uint64_t{kEntrySize} * count;
    if (entriesEnd > blockLength) {
        SetError("Illegally sized directory");
        return false;
    }

    Thumbnail thumbnail{0, 0};
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t entryOffset = offset + 2 + kEntrySize * i;
        const unsigned char* entry = blockBase + entryOffset;
        unsigned tag = ReadU16(entry);
        unsigned format = ReadU16(entry + 2);
        // The count is unsigned in TIFF; a count read as negative would make
        // a huge value look like a small inline one.
        uint32_t components = static_cast<uint32_t>(ReadS32(entry + 4));

        if (format < 1 || format > 12) {
            SetError("Illegal format code in EXIF dir");
            continue;
        }

        uint64_t byteCount = uint64_t{components} * ComponentSize(format);
        // A count that cannot be a size (negative as a signed number, or a
        // byte count past 32 bits) is a garbled entry, not a garbled
        // directory: it is skipped like a bad format, and the walk goes on.
        if (components > uint32_t{INT32_MAX} || byteCount > UINT32_MAX) {
            SetError("Illegal pointer offset value in EXIF.");
            continue;
        }
        uint32_t valueOffset = entryOffset + 8;
        if (byteCount > 4) {
            int32_t stored = ReadS32(entry + 8);
            if (stored < 0 || uint64_t(stored) + byteCount > blockLength) {
                SetError("Illegal pointer offset value in EXIF.");
                return false;
            }
            valueOffset = static_cast<uint32_t>(stored);
        }

        ApplyTag(tag, format, valueOffset, static_cast<uint32_t>(byteCount), thumbnail);

        if (tag == ExifTag::ExifIfd || tag == ExifTag::InteropIfd)
            FollowLink(ReadS32(blockBase + valueOffset), depth);
    }

    // A next-directory offset that does not fit in the block counts as none.
    if (entriesEnd + 4 <= blockLength) {
        int32_t next = ReadS32(blockBase + entriesEnd);
        if (next != 0)
            FollowLink(next, depth);
    }

    if (thumbnail.offset != 0 && thumbnail.length != 0 &&
        uint64_t{thumbnail.offset} + thumbnail.length <= blockLength) {
        summary->thumbnailData = blockBase + thumbnail.offset;
        summary->thumbnailLength = thumbnail.length;
    }
    return true;
}

void CJpegExifReader::ApplyTag(unsigned tag, unsigned format, uint32_t valueOffset,
                               uint32_t byteCount, Thumbnail& thumbnail) {
    if (!ApplyImageTag(tag, format, valueOffset, byteCount, thumbnail) &&
        !ApplyExposureTag(tag, format, valueOffset))
        ApplyPictureTag(tag, format, valueOffset, byteCount);
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
        s.subjectDistance = number();
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
