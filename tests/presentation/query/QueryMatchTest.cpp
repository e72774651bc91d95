// Compiled queries held against hand-built photos (QueryTestPhotos.h): each
// case lists which of the four photos it must find.
#include "presentation/query/Query.h"
#include "tests/presentation/query/QueryTestPhotos.h"

#include <gtest/gtest.h>

#include <string>

using querytest::Photo;

namespace {

struct Case {
    const char* query;
    const char* found; // one character per photo: 'x' found, '.' not
};

void ExpectFound(const Case* begin, const Case* end) {
    const std::vector<Photo> photos = querytest::Photos();
    for (const Case* c = begin; c != end; ++c) {
        Query query;
        QueryError error;
        ASSERT_TRUE(Query::Parse(c->query, query, error)) << c->query << ": " << error.Message();
        std::string found;
        for (const Photo& photo : photos)
            found += query.Matches(photo.Input()) ? 'x' : '.';
        EXPECT_EQ(found, c->found) << c->query;
    }
}

TEST(QueryMatch, FreeWordsIgnoreCaseAndAccents) {
    const Case cases[] = {
        {"canon", "x..."},        // the make
        {"kyoto", "x..."},        // written "Kyōto"
        {"KY\xC5\x8CTO", "x..."}, // and asked for with the accent
        {"\"red kite\"", "x..."}, // a phrase
        {"zoe muller", "x..."},   // two words, each somewhere
        {"ghost", "...."},        // the record of a file without EXIF data is not read
        {"lensserial", "..x."},   // a tag's name
        {"manual", "..x."},       // a tag's text
    };
    ExpectFound(std::begin(cases), std::end(cases));
}

TEST(QueryMatch, CameraLensAndTexts) {
    const Case cases[] = {
        {"camera:\"apple iphone\"", ".x.."}, // make and model together
        {"make:nikon", "..x."},
        {"model:d90", "..x."},
        {"model:=\"nikon d90\"", "..x."},
        {"model:=nikon", "...."},
        {"camera:=\"nikon d90\"", "..x."}, // as named: the make's company left out
        {"lens:50", "x..."},
        {"lens:18-105", "..x."}, // from the maker note
        {"-lens:50", ".xxx"},    // photos without a lens too
        {"keyword:kite", "x..."},
        {"keyword:=kyoto", "x..."},
        {"software:12", ".x.."},
        {"artist:muller", "x..."},
    };
    ExpectFound(std::begin(cases), std::end(cases));
}

TEST(QueryMatch, DatesAtThePrecisionTyped) {
    const Case cases[] = {
        {"date:2023", "x..."},
        {"date:2023-05", "x..."},
        {"date:2023-05-15", "...."},
        {"date:2023-05-14T10", "x..."},
        {"date:2023-05-14T10:31", "...."},
        {"date:2016..2023", "xx.."},
        {"date:2016-04-20..2023-05", "x..."},
        {"date:>2016-04-19", "x..."},
        {"date:>=2016-04-19", "xx.."},
        {"date:<2017", ".x.."},
        {"date:..2016-04", ".x.."},
        {"-date:2023", ".xxx"}, // a photo without a date is not of 2023
        {"hour:10", "x..."},
        {"hour:0", "...."}, // no date, no hour
    };
    ExpectFound(std::begin(cases), std::end(cases));
}

TEST(QueryMatch, NumbersAsThePanesShowThem) {
    const Case cases[] = {
        {"iso:>=32", "xx.."},       {"iso:<100", ".x.."},
        {"iso:30..40", ".x.."},     {"f:2.8", "x..."}, // 2.8284 shows as f/2.8
        {"f:>2.8", "...."},         {"f:<=2.2", ".x.."},
        {"f:<=2.8", "xx.."}, // not the negative one
        {"exposure:1/250", "x..."}, {"exposure:1/30", ".x.."},
        {"exposure:>1/60", ".xx."}, {"exposure:>=2s", "..x."},
        {"focal:24..70", "x..."},   {"focal:50mm", "x..."},
        {"focal35:50", "x..."},     {"width:>3000", "xx.."},
        {"mp:12", "x..."},          {"mp:8", ".x.."}, // 7.99 megapixels show as 8.0
        {"mp:>8", "x..."},          {"rating:>=4", "x..."},
        {"rating:5", "...."},
    };
    ExpectFound(std::begin(cases), std::end(cases));
}

TEST(QueryMatch, FlagsPlacesShapesAndFormats) {
    const Case cases[] = {
        {"flash:yes", "x..."},
        {"flash:no", ".xx."},
        {"gps:yes", "x..."},
        {"gps:no", ".xxx"},
        {"near:35.6,139.7,20", "x..."},
        {"near:48.85,2.29,100", "...."},
        {"orientation:portrait", ".x.."}, // turned a quarter
        {"orientation:landscape", "x..."},
        {"format:jpeg", "x..."},
        {"format:JPG", "x..."},
        {"format:raw", "..x."},
        {"format:heif", ".x.."},
        {"format:png", "...x"},
        {"format:=nef", "..x."},
        {"format:=raw", "...."}, // Panasonic's raw format only
    };
    ExpectFound(std::begin(cases), std::end(cases));
}

TEST(QueryMatch, AnyTagByItsName) {
    const Case cases[] = {
        {"ExifIFD:WhiteBalance:1", "..x."},
        {"Exif:WhiteBalance:1", "..x."},  // the pane's group name
        {"Image:WhiteBalance:1", "...."}, // another group
        {"whitebalance:manual", "..x."},
        {"WhiteBalance:>0", "..x."},
        {"WhiteBalance:0..1", "..x."},
        {"LensSerialNumber:123", "..x."},
        {"subject:kyoto", "x..."},    // dc:subject[1] without prefix and item
        {"dc:subject:kyoto", "x..."}, // the XMP group by its prefix
        {"XMP:Rating:4", "x..."},
        {"Rating:=4", "x..."},
        {"Make:=canon", "x..."}, // make: the record's field
    };
    ExpectFound(std::begin(cases), std::end(cases));
}

TEST(QueryMatch, AndOrNotAndParentheses) {
    const Case cases[] = {
        {"canon OR nikon", "x.x."},
        {"(canon OR nikon) -iso:800", "..x."},
        {"-(canon OR nikon)", ".x.x"},
        {"iso:>=32 -flash:yes", ".x.."},
        {"--canon", "x..."},
        {"canon nikon", "...."},
        {"make:canon OR make:apple iso:32", "xx.."}, // side by side binds closer
        {"", "xxxx"},
    };
    ExpectFound(std::begin(cases), std::end(cases));
}

TEST(QueryMatch, TagsNotReadMatchNothingButTheRecord) {
    // A query that needs every tag, held against a file read for its
    // record alone: the record's fields still count, the tags' do not.
    std::vector<Photo> photos = querytest::Photos();
    QueryInput input = photos[0].Input();
    input.entries = nullptr;
    input.position = nullptr;
    Query query;
    QueryError error;
    ASSERT_TRUE(Query::Parse("iso:800 lens:50", query, error));
    EXPECT_FALSE(query.Matches(input));
    ASSERT_TRUE(Query::Parse("gps:no", query, error));
    EXPECT_FALSE(query.Matches(input));
    ASSERT_TRUE(Query::Parse("iso:800 -lens:50", query, error));
    EXPECT_TRUE(query.Matches(input));
}

} // namespace
