// Case and accents out of the comparison, one character at a time; the
// dates the record holds.
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
        {"Cafe\xCC\x81", "cafe", true}, // e, combining accent
        {"Caf\xE9", "cafe", true},      // Latin-1, not UTF-8
        {"Stra\xC3\x9F"
         "e",
         "strasse", true}, // ß
        {"\xC5\x81\xC3\xB3"
         "d\xC5\xBA",
         "lodz", true},                                                         // Łódź
        {"\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1", "\xCE\xB1\xCE\xB8", true}, // Greek capitals
        {"\xF0\x9F\x93\xB7 camera", "camera", true}, // a four-byte character skipped over
        {"\xE2\x82", "a", true},                     // cut off: Latin-1, "â" and a control
        {"Nikon", "canon", false},
        {"ab", "abc", false},
        {"", "a", false},
        {"anything", "", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FoldedContains(c.text, FoldText(c.word)), c.contains)
            << c.text << " / " << c.word;
    EXPECT_TRUE(FoldedEquals("K\xC5\x8Dto", "koto"));
    EXPECT_FALSE(FoldedEquals("Kyoto", "kyot"));
}

TEST(QueryValues, PhotoDatesAtFullPrecisionAndNoneForBlanks) {
    int64_t key = 0;
    EXPECT_TRUE(PhotoDateKey("2023:05:14 10:30:15", key));
    EXPECT_EQ(key, 20230514103015);
    EXPECT_TRUE(PhotoDateKey("2024:02:29", key));
    EXPECT_EQ(key, 20240229000000);
    for (const char* blank : {"0000:00:00 00:00:00", "    :  :     :  :  ", "", "2023:05"})
        EXPECT_FALSE(PhotoDateKey(blank, key)) << blank;
}

} // namespace
