// Case and accents out of the comparison, one character at a time.
#include "presentation/query/FoldedText.h"
#include "presentation/query/QueryValues.h"

#include <gtest/gtest.h>

namespace {

TEST(FoldedText, ContainsWithoutCaseOrAccents) {
    struct Case {
        const char* text;
        const char* word;
        bool contains;
    };
    const Case cases[] = {
        {"Canon EOS 5D", "eos", true},
        {"Caf\xC3\xA9", "CAFE", true},  // é
        {"Cafe\xCC\x81", "cafe", true}, // e and a combining accent
        {"Caf\xE9", "cafe", true},      // Latin-1, not UTF-8
        {"Stra\xC3\x9F"
         "e",
         "strasse", true},              // ß
        {"\xC3\x86sir", "aesir", true}, // Æ
        {"\xC5\x81\xC3\xB3"
         "d\xC5\xBA",
         "lodz", true},                                                         // Łódź
        {"\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1", "\xCE\xB1\xCE\xB8", true}, // Greek capitals
        {"Nikon", "canon", false},
        {"ab", "abc", false},
        {"", "a", false},
        {"anything", "", true},
        {"\xF0\x9F\x93\xB7 camera", "camera", true}, // four-byte characters are skipped over
        {"\xE2\x82", "a", true},                     // cut off: Latin-1, "â" and a control
    };
    for (const Case& c : cases)
        EXPECT_EQ(FoldedContains(c.text, FoldText(c.word)), c.contains)
            << c.text << " / " << c.word;
    EXPECT_TRUE(FoldedEquals("K\xC5\x8Dto", "koto"));
    EXPECT_FALSE(FoldedEquals("Kyoto", "kyot"));
}

TEST(QueryValues, DatesAsTypedAndAsRecorded) {
    struct Case {
        const char* text;
        bool valid;
        int64_t key;
        int precision;
    };
    const Case cases[] = {
        {"2023", true, 20230000000000, 1},
        {"2023-05", true, 20230500000000, 2},
        {"2024-02-29", true, 20240229000000, 3},
        {"2023-05-14T10:30:15", true, 20230514103015, 6},
        {"2023-05-14 10:30", true, 20230514103000, 5},
        {"2023-5", false, 0, 0},
        {"2023-00", false, 0, 0},
        {"2023-04-31", false, 0, 0},
        {"2023-05-14T24", false, 0, 0},
        {"0000", false, 0, 0},
        {"2023-05-14x", false, 0, 0},
    };
    for (const Case& c : cases) {
        QueryDate date;
        EXPECT_EQ(ParseQueryDate(c.text, date), c.valid) << c.text;
        if (c.valid) {
            EXPECT_EQ(date.key, c.key) << c.text;
            EXPECT_EQ(date.precision, c.precision) << c.text;
        }
    }
    int64_t key = 0;
    EXPECT_TRUE(PhotoDateKey("2023:05:14 10:30:15", key));
    EXPECT_EQ(key, 20230514103015);
    EXPECT_FALSE(PhotoDateKey("0000:00:00 00:00:00", key));
    EXPECT_FALSE(PhotoDateKey("    :  :     :  :  ", key));
    EXPECT_FALSE(PhotoDateKey("", key));
}

TEST(QueryValues, ExposureTimes) {
    struct Case {
        const char* text;
        bool valid;
        double seconds;
    };
    const Case cases[] = {
        {"1/250", true, 0.004}, {"1/250s", true, 0.004}, {"2s", true, 2},   {"0.5", true, 0.5},
        {"1/0", false, 0},      {"-1", false, 0},        {"1/x", false, 0}, {"s", false, 0},
    };
    for (const Case& c : cases) {
        double seconds = 0;
        EXPECT_EQ(ParseExposure(c.text, seconds), c.valid) << c.text;
        if (c.valid) {
            EXPECT_DOUBLE_EQ(seconds, c.seconds) << c.text;
        }
    }
}

} // namespace
