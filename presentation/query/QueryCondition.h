#pragma once

#include "presentation/query/QueryValues.h"

#include <cstdint>
#include <string>
#include <vector>

// The compiled form of a query: a tree of nodes over conditions, each
// condition one filter or free word with its value parsed once.

enum class QueryField : uint8_t {
    Words, // a free word or phrase: any tag's value or name
    Camera,
    Make,
    Model,
    Lens,
    Date,
    Hour,
    Iso,
    Aperture,
    Exposure,
    Focal,
    Focal35,
    Flash,
    Gps,
    Near,
    Keyword,
    Rating,
    Format,
    Width,
    Height,
    Megapixels,
    Orientation,
    Software,
    Artist,
    Tag, // any tag of the Metadata pane by its name
};

enum class PictureShape : uint8_t { Portrait, Landscape, Square };

struct QueryCondition {
    QueryField field = QueryField::Words;
    // Texts: folded, contained in the value (or equal to it with `whole`).
    std::string text;
    bool whole = false;
    // Numbers (exposure in seconds); a tag filter may have both a text and
    // a number and holds when either does.
    bool numeric = false;
    NumberTest number;
    DateTest date;
    bool yes = false; // flash:, gps:
    double latitude = 0;
    double longitude = 0;
    double kilometres = 0;
    uint64_t formats = 0; // one bit per PhotoFormat
    PictureShape shape = PictureShape::Landscape;
    // A tag filter's group (may be empty) and name, folded.
    std::string group;
    std::string name;
};

struct QueryNode {
    enum class Kind : uint8_t { All, Any, Not, Test };
    Kind kind = Kind::Test;
    std::vector<uint32_t> children; // All, Any: any number; Not: one
    uint32_t condition = 0;         // Test
};
