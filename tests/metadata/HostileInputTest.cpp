// Damaged and hostile input: the reader must fail cleanly, never crash and
// never read outside its buffers (the sanitized build checks the latter).

#include "tests/metadata/ReaderTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

using namespace readertest;

namespace {

void ExpectTerminatedTexts(const ExifSummary& r) {
    EXPECT_LT(strnlen(r.exifVersion, sizeof r.exifVersion), sizeof r.exifVersion);
    EXPECT_LT(strnlen(r.cameraMake, sizeof r.cameraMake), sizeof r.cameraMake);
    EXPECT_LT(strnlen(r.cameraModel, sizeof r.cameraModel), sizeof r.cameraModel);
    EXPECT_LT(strnlen(r.dateTime, sizeof r.dateTime), sizeof r.dateTime);
    EXPECT_LT(strnlen(r.comment, sizeof r.comment), sizeof r.comment);
}

TEST(HostileInput, CameraFileCutAtEveryLength) {
    for (ByteOrder order : kBothOrders) {
        const Bytes file = CameraFile(order);
        const size_t app1End = 2 + 18 + 4 + CameraExif(order).Payload().size();
        const Bytes sos{0xFF, 0xDA};
        const auto lastSos = std::find_end(file.begin(), file.end(), sos.begin(), sos.end());
        const size_t sosEnd = static_cast<size_t>(lastSos - file.begin()) + 2 + 12;

        for (size_t n = 0; n <= file.size(); ++n) {
            const Bytes cut(file.begin(), file.begin() + static_cast<ptrdiff_t>(n));
            ReadFile r(cut);
            ASSERT_EQ(r.ok, n >= sosEnd) << n;
            ASSERT_EQ(r.record.exifValid, n >= app1End) << n;
            if (n >= 2 && n < sosEnd)
                ASSERT_TRUE(r.Error() == "invalid marker" || r.Error() == "Premature end of file?")
                    << n << ": " << r.Error();
            ExpectTerminatedTexts(r.record);
        }
    }
}

TEST(HostileInput, ExifBlockCutAtEveryLength) {
    for (ByteOrder order : kBothOrders) {
        const Bytes payload = CameraExif(order).Payload();
        for (size_t n = 0; n <= payload.size(); ++n) {
            ParsedBlock p(payload, static_cast<int>(n));
            if (n < 16)
                EXPECT_FALSE(p.ok) << n;
            ExpectTerminatedTexts(p.record);
        }
    }
}

TEST(HostileInput, ExifBlockWithAnyByteChanged) {
    for (ByteOrder order : kBothOrders) {
        const Bytes payload = CameraExif(order).Payload();
        for (size_t i = 0; i < payload.size(); ++i) {
            for (unsigned char v : {0x00, 0x01, 0x7F, 0x80, 0xFF}) {
                Bytes changed = payload;
                changed[i] = v;
                ParsedBlock p(changed);
                ExpectTerminatedTexts(p.record);
                if (p.record.thumbnailData != nullptr) {
                    EXPECT_GE(p.record.thumbnailData, p.bytes.get() + 6);
                    EXPECT_LE(p.record.thumbnailData + p.record.thumbnailLength,
                              p.bytes.get() + p.size);
                }
            }
        }
    }
}

TEST(HostileInput, CrasherFilesAreReadWithoutHarm) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(VELMORA_CRASHERS_DIR)) {
        if (entry.path().extension() != ".jpg")
            continue;
        ++files;
        std::FILE* f = std::fopen(entry.path().c_str(), "rb");
        ASSERT_NE(f, nullptr) << entry.path();
        FileStream stream(f);
        ExifSummary record;
        std::memset(&record, 0, sizeof record);
        CollectingSink sink;
        CJpegExifReader reader(&record, &sink);
        reader.ReadSections(stream);
        std::fclose(f);
        ExpectTerminatedTexts(record);
        EXPECT_LE(reader.SectionCount(), CJpegExifReader::kMaxSections);
    }
    EXPECT_GT(files, 0);
}

} // namespace
