// RATIONAL values are unsigned and SRATIONAL signed, in the record, its rows
// and the every-tag list alike; a SubjectDistance of 0xFFFFFFFF/n is
// infinity.

#include "metadata/tags/TiffTagWalk.h"
#include "presentation/TagRows.h"
#include "tests/metadata/PhotoTestSupport.h"

#include <gtest/gtest.h>

using namespace readertest;

namespace {

std::string Row(const ExifSummary& record, const std::string& label) {
    for (const TagRow& row : BuildTagRows(record))
        if (row.label == label)
            return row.value;
    return "(none)";
}

TEST(RationalValues, UnsignedAboveTwoToThe31AndSignedBelowZero) {
    const struct {
        const char* name;
        uint16_t tag;
        bool isSigned;
        uint32_t num;
        uint32_t den;
        const char* label;
        const char* row;
        double listed; // the every-tag list's number
    } cases[] = {
        {"exposure, denominator 2^32-1", 0x829A, false, 13421772, 0xFFFFFFFF, "Exposure Time",
         "1/320", 13421772.0 / 4294967295.0},
        {"aperture, both above 2^31", 0x829D, false, 0xA8000000, 0x1E000000, "Aperture", "f/5.6",
         5.6},
        {"focal length, numerator above 2^31", 0x920A, false, 3000000000, 60000000, "Focal length",
         "50.0mm", 50},
        {"distance, numerator past 2^31: no infinity", 0x9206, false, 0x80000000, 1000000,
         "Focus Dist", "2147.48m", 2147.483648},
        {"distance 0xFFFFFFFF/1 is infinity", 0x9206, false, 0xFFFFFFFF, 1, "Focus Dist",
         "Infinite", 4294967295.0},
        {"bias stays negative", 0x9204, true, static_cast<uint32_t>(-2), 3, "Exposure bias",
         "-0.67", -2.0 / 3},
    };
    for (const auto& c : cases) {
        for (ByteOrder order : kBothOrders) {
            ExifBuilder exif(order);
            if (c.isSigned)
                exif.SRational(0, c.tag, static_cast<int32_t>(c.num), static_cast<int32_t>(c.den));
            else
                exif.Rational(0, c.tag, c.num, c.den);
            const PhotoRead read(exif.Tiff());
            EXPECT_EQ(Row(read.record, c.label), c.row) << c.name;

            const Bytes tiff = exif.Tiff();
            MetadataCollector listed;
            ASSERT_TRUE(WalkTiffBlock(tiff.data(), tiff.size(), TiffRole::Main, listed));
            ASSERT_EQ(listed.Entries().size(), 1u) << c.name;
            const auto& numbers = listed.Entries()[0].value.numbers;
            ASSERT_EQ(numbers.size(), 1u) << c.name;
            EXPECT_DOUBLE_EQ(numbers[0], c.listed) << c.name;
        }
    }
}

} // namespace
