// Queries that compile, what they need read, and the ones that do not with
// where and why.
#include "presentation/query/Query.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

struct Good {
    const char* query;
    QueryNeeds needs;
};

TEST(QueryParse, RecordFieldsReadAsTheRowsAndTheRestNeedEveryTag) {
    const Good cases[] = {
        {"", QueryNeeds::Record},
        {"iso:100", QueryNeeds::Record},
        {"camera:canon date:2023 f:2.8 exposure:1/250 focal:24..70 focal35:50mm flash:yes",
         QueryNeeds::Record},
        {"width:>100 height:<=50 mp:>1 orientation:portrait format:raw make:x model:\"y z\"",
         QueryNeeds::Record},
        {"-iso:100 OR (make:x -(model:y))", QueryNeeds::Record},
        {"hour:6..9 format:=raw format:mov camera:=\"NIKON D70s\"", QueryNeeds::Record},
        {"date:2023-05-01..2023-06-30 date:>2024-01-01 date:..2020 iso:100..", QueryNeeds::Record},
        {"tokyo", QueryNeeds::AllTags},
        {"\"red kite\"", QueryNeeds::AllTags},
        {"\"iso:100\"", QueryNeeds::AllTags}, // quoted: a phrase
        {"iso:100 lens:50", QueryNeeds::AllTags},
        {"near:35.6,139.7,20", QueryNeeds::AllTags},
        {"keyword:kite rating:>=4 software:x artist:y", QueryNeeds::AllTags},
        {"LensSerialNumber:123", QueryNeeds::AllTags},
        {"ExifIFD:WhiteBalance:1 WhiteBalance:>0 dc:subject:x", QueryNeeds::AllTags},
        {"12:30", QueryNeeds::AllTags}, // not a name: a word
    };
    for (const Good& c : cases) {
        Query query;
        QueryError error;
        EXPECT_TRUE(Query::Parse(c.query, query, error)) << c.query << ": " << error.Message();
        EXPECT_EQ(query.Needs(), c.needs) << c.query;
    }
}

struct Bad {
    const char* query;
    size_t column;
    const char* reason; // a part of it
};

void ExpectFaults(const Bad* begin, const Bad* end) {
    for (const Bad* c = begin; c != end; ++c) {
        Query query;
        QueryError error;
        ASSERT_FALSE(Query::Parse(c->query, query, error)) << c->query;
        EXPECT_EQ(error.column, c->column) << c->query << ": " << error.Message();
        EXPECT_NE(error.reason.find(c->reason), std::string::npos)
            << c->query << ": " << error.Message();
        // A query that failed searches nothing.
        ExifSummary record{};
        EXPECT_FALSE(query.Matches({&record, PhotoFormat::Jpeg, nullptr, nullptr})) << c->query;
    }
}

TEST(QueryParse, StructureFaultsSayWhere) {
    const Bad cases[] = {
        {"(canon", 1, "not closed"},
        {"a (b (c) d", 3, "not closed"},
        {"canon)", 6, "closes no"},
        {"a OR", 3, "'OR'"},
        {"OR a", 1, "'OR'"},
        {"(a OR) b", 4, "'OR'"},
        {"- a", 1, "'-'"},
        {"a -", 3, "'-'"},
        {"(-)", 2, "'-'"},
        {"\"red kite", 1, "quote"},
        {"camera:\"EOS", 8, "quote"},
        {"()", 2, "nothing between"},
        {"\"\"", 1, "quotes hold nothing"},
        {"((((((((((((((((((((((((((((((((((a))))))))))))))))))))))))))))))))))", 33, "too deeply"},
        {"caf\xC3\xA9 iso:x", 10, "not a number"}, // characters, not bytes
    };
    ExpectFaults(std::begin(cases), std::end(cases));
}

TEST(QueryParse, ValueFaultsSayWhere) {
    const Bad cases[] = {
        {"iso:abc", 5, "'abc' is not a number"},
        {"iso:", 5, "missing"},
        {"iso:>=", 7, "missing"},
        {"f:2,8", 3, "not a number"},
        {"iso:800..100", 10, "ends before it starts"},
        {"iso:>=100..200", 5, "range takes no comparison"},
        {"iso:..", 5, "at least one end"},
        {"exposure:fast", 10, "exposure time"},
        {"exposure:1/0", 10, "exposure time"},
        {"date:2023-13", 6, "not a date"},
        {"date:2023-02-29", 6, "not a date"},
        {"date:23-05-01", 6, "not a date"},
        {"date:2024..2023-12", 12, "ends before it starts"},
        {"flash:maybe", 7, "yes or no"},
        {"near:35,139", 6, "latitude,longitude,kilometres"},
        {"near:95,139,1", 6, "latitude"},
        {"near:35,x,1", 9, "'x' is not a number"},
        {"near:35,139,-1", 6, "negative"},
        {"orientation:tall", 13, "portrait, landscape or square"},
        {"format:gif", 8, "not a format"},
        {"format:=jpg", 9, "not a format"}, // '=': the one short name
        {"hour:noon", 6, "not a number"},
        {"camera:>canon", 8, "takes no comparison"},
        {"WhiteBalance:>auto", 15, "not a number"},
    };
    ExpectFaults(std::begin(cases), std::end(cases));
}

TEST(QueryParse, ErrorMessageNamesTheCharacter) {
    Query query;
    QueryError error;
    ASSERT_FALSE(Query::Parse("iso:abc", query, error));
    EXPECT_EQ(error.offset, 4u);
    EXPECT_EQ(error.Message(), "at character 5: 'abc' is not a number");
}

TEST(QueryParse, AnyTextParsesOrSaysWhereWithinIt) {
    // Pieces of the language and of UTF-8 strung together at random (a fixed
    // seed): each query compiles and matches, or names a place inside it.
    const char* const pieces[] = {
        "iso:",  "date:", "near:",    "f:",   "camera:", "lens:",   "Exif:",
        "Name:", ">=",    "<",        "=",    "..",      "(",       ")",
        "\"",    "-",     "OR",       " ",    "1",       "2023-05", "1/250",
        ",",     "x",     "\xC3\xA9", "\xE2", ":",       "\t",      "\xF0\x9F\x93\xB7"};
    uint32_t seed = 12345;
    ExifSummary record{};
    record.exifValid = true;
    const std::vector<MetadataEntry> entries(1);
    for (int round = 0; round < 5000; ++round) {
        std::string text;
        seed = seed * 1664525 + 1013904223;
        for (uint32_t n = seed >> 28; n > 0; --n) {
            seed = seed * 1664525 + 1013904223;
            text += pieces[(seed >> 16) % std::size(pieces)];
        }
        Query query;
        QueryError error;
        if (Query::Parse(text, query, error)) {
            query.Matches({&record, PhotoFormat::Jpeg, &entries, nullptr});
            continue;
        }
        EXPECT_LE(error.offset, text.size()) << text;
        EXPECT_GE(error.column, 1u) << text;
        EXPECT_FALSE(error.reason.empty()) << text;
    }
}

} // namespace
