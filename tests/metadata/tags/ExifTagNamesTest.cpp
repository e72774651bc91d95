// Our name tables against the published tag numbers, and the names
// exiftool gives the same numbers, which the corpus check needs.
#include "metadata/tags/ExifTagNames.h"
#include "metadata/tags/MetadataEntry.h"
#include "tests/metadata/tags/ExiftoolTagIds.h"

#include <gtest/gtest.h>

namespace {

struct Expected {
    TagSpace space;
    uint16_t tag;
    const char* name;
};

// A sample from the TIFF 6.0, EXIF 3.0 and DNG documents' tag tables.
constexpr Expected kStandardNames[] = {
    {TagSpace::Tiff, 0x00FE, "NewSubfileType"},
    {TagSpace::Tiff, 0x0100, "ImageWidth"},
    {TagSpace::Tiff, 0x0101, "ImageLength"},
    {TagSpace::Tiff, 0x0103, "Compression"},
    {TagSpace::Tiff, 0x010F, "Make"},
    {TagSpace::Tiff, 0x0110, "Model"},
    {TagSpace::Tiff, 0x0112, "Orientation"},
    {TagSpace::Tiff, 0x011A, "XResolution"},
    {TagSpace::Tiff, 0x0128, "ResolutionUnit"},
    {TagSpace::Tiff, 0x0132, "DateTime"},
    {TagSpace::Tiff, 0x014A, "SubIFDs"},
    {TagSpace::Tiff, 0x0201, "JPEGInterchangeFormat"},
    {TagSpace::Tiff, 0x0213, "YCbCrPositioning"},
    {TagSpace::Tiff, 0x8298, "Copyright"},
    {TagSpace::Tiff, 0x8769, "ExifIFDPointer"},
    {TagSpace::Tiff, 0x8825, "GPSInfoIFDPointer"},
    {TagSpace::Tiff, 0x829A, "ExposureTime"},
    {TagSpace::Tiff, 0x829D, "FNumber"},
    {TagSpace::Tiff, 0x8822, "ExposureProgram"},
    {TagSpace::Tiff, 0x8827, "PhotographicSensitivity"},
    {TagSpace::Tiff, 0x8830, "SensitivityType"},
    {TagSpace::Tiff, 0x9000, "ExifVersion"},
    {TagSpace::Tiff, 0x9003, "DateTimeOriginal"},
    {TagSpace::Tiff, 0x9004, "DateTimeDigitized"},
    {TagSpace::Tiff, 0x9010, "OffsetTime"},
    {TagSpace::Tiff, 0x9101, "ComponentsConfiguration"},
    {TagSpace::Tiff, 0x9201, "ShutterSpeedValue"},
    {TagSpace::Tiff, 0x9202, "ApertureValue"},
    {TagSpace::Tiff, 0x9204, "ExposureBiasValue"},
    {TagSpace::Tiff, 0x9207, "MeteringMode"},
    {TagSpace::Tiff, 0x9208, "LightSource"},
    {TagSpace::Tiff, 0x9209, "Flash"},
    {TagSpace::Tiff, 0x920A, "FocalLength"},
    {TagSpace::Tiff, 0x9214, "SubjectArea"},
    {TagSpace::Tiff, 0x927C, "MakerNote"},
    {TagSpace::Tiff, 0x9286, "UserComment"},
    {TagSpace::Tiff, 0x9291, "SubSecTimeOriginal"},
    {TagSpace::Tiff, 0x9400, "Temperature"},
    {TagSpace::Tiff, 0xA000, "FlashpixVersion"},
    {TagSpace::Tiff, 0xA001, "ColorSpace"},
    {TagSpace::Tiff, 0xA002, "PixelXDimension"},
    {TagSpace::Tiff, 0xA005, "InteroperabilityIFDPointer"},
    {TagSpace::Tiff, 0xA20E, "FocalPlaneXResolution"},
    {TagSpace::Tiff, 0xA217, "SensingMethod"},
    {TagSpace::Tiff, 0xA300, "FileSource"},
    {TagSpace::Tiff, 0xA301, "SceneType"},
    {TagSpace::Tiff, 0xA402, "ExposureMode"},
    {TagSpace::Tiff, 0xA403, "WhiteBalance"},
    {TagSpace::Tiff, 0xA405, "FocalLengthIn35mmFilm"},
    {TagSpace::Tiff, 0xA406, "SceneCaptureType"},
    {TagSpace::Tiff, 0xA420, "ImageUniqueID"},
    {TagSpace::Tiff, 0xA431, "BodySerialNumber"},
    {TagSpace::Tiff, 0xA432, "LensSpecification"},
    {TagSpace::Tiff, 0xA434, "LensModel"},
    {TagSpace::Tiff, 0xA460, "CompositeImage"},
    {TagSpace::Tiff, 0xA500, "Gamma"},
    {TagSpace::Tiff, 0xC612, "DNGVersion"},
    {TagSpace::Tiff, 0xC614, "UniqueCameraModel"},
    {TagSpace::Tiff, 0xC621, "ColorMatrix1"},
    {TagSpace::Tiff, 0xC628, "AsShotNeutral"},
    {TagSpace::Tiff, 0xC65A, "CalibrationIlluminant1"},
    {TagSpace::Tiff, 0xC68D, "ActiveArea"},
    {TagSpace::Tiff, 0xC714, "ForwardMatrix1"},
    {TagSpace::Tiff, 0xC740, "OpcodeList1"},
    {TagSpace::Tiff, 0xC761, "NoiseProfile"},
    {TagSpace::Gps, 0x0000, "GPSVersionID"},
    {TagSpace::Gps, 0x0001, "GPSLatitudeRef"},
    {TagSpace::Gps, 0x0002, "GPSLatitude"},
    {TagSpace::Gps, 0x0006, "GPSAltitude"},
    {TagSpace::Gps, 0x0007, "GPSTimeStamp"},
    {TagSpace::Gps, 0x0012, "GPSMapDatum"},
    {TagSpace::Gps, 0x001B, "GPSProcessingMethod"},
    {TagSpace::Gps, 0x001D, "GPSDateStamp"},
    {TagSpace::Gps, 0x001F, "GPSHPositioningError"},
    {TagSpace::Interop, 0x0001, "InteroperabilityIndex"},
    {TagSpace::Interop, 0x0002, "InteroperabilityVersion"},
    {TagSpace::Interop, 0x1001, "RelatedImageWidth"},
};

} // namespace

TEST(ExifTagNames, StandardNumbersHaveTheStandardsNames) {
    for (const Expected& e : kStandardNames) {
        SCOPED_TRACE(e.name);
        const char* name = ExifTagName(e.tag, e.space);
        ASSERT_NE(name, nullptr);
        EXPECT_STREQ(name, e.name);
    }
}

TEST(ExifTagNames, UnknownTagsAreNamedByTheirNumber) {
    EXPECT_EQ(ExifTagNameOrId(0x9A01, TagSpace::Tiff), "Tag0x9A01");
    EXPECT_EQ(ExifTagNameOrId(0x00AB, TagSpace::Tiff), "Tag0x00AB");
    EXPECT_EQ(ExifTagNameOrId(0x0040, TagSpace::Gps), "Tag0x0040");
    // The GPS and interoperability directories number their tags afresh.
    EXPECT_EQ(ExifTagNameOrId(0x0001, TagSpace::Tiff), "Tag0x0001");
    EXPECT_EQ(ExifTagNameOrId(0x829A, TagSpace::Gps), "Tag0x829A");
    EXPECT_EQ(TagSpaceOfGroup("GPS"), TagSpace::Gps);
    EXPECT_EQ(TagSpaceOfGroup("InteropIFD"), TagSpace::Interop);
    EXPECT_EQ(TagSpaceOfGroup("SubIFD1"), TagSpace::Tiff);
}

// Every tag number exiftool names in the corpus directories is one we name.
TEST(ExifTagNames, EveryNumberExiftoolNamesIsKnownToUs) {
    for (const ExiftoolTagId& t : ExiftoolTagIds())
        if (t.vendor == nullptr)
            EXPECT_NE(ExifTagName(t.id, t.space), nullptr) << t.name;
}

TEST(ExifTagNames, GroupsHaveNamesForPeople) {
    EXPECT_EQ(GroupDisplayName("IFD0"), "Image");
    EXPECT_EQ(GroupDisplayName("ExifIFD"), "Exif");
    EXPECT_EQ(GroupDisplayName("GPS"), "GPS");
    EXPECT_EQ(GroupDisplayName("InteropIFD"), "Interoperability");
    EXPECT_EQ(GroupDisplayName("IFD1"), "Thumbnail");
    EXPECT_EQ(GroupDisplayName("SubIFD2"), "SubIFD");
    EXPECT_EQ(GroupDisplayName("XMP-dc"), "XMP");
    EXPECT_EQ(GroupDisplayName("IPTC"), "IPTC");
}
