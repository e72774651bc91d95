#pragma once

#include "metadata/ExifSummary.h"
#include "presentation/query/QueryCondition.h"

#include <string_view>

// The named filters a query knows, and how each reads its value.

enum class QueryValueKind : uint8_t {
    Text,     // contains; '=' for the whole value
    Number,   // equal, compared, or a range
    Exposure, // a number of seconds, "1/250" too
    Date,
    YesNo,
    Place, // LAT,LON,KM
    Shape, // portrait, landscape, square
    Format,
};

struct QueryFieldInfo {
    const char* name;
    QueryField field;
    QueryValueKind kind;
    // Read from every tag rather than from the record alone.
    bool needsAllTags;
};

// The field named `name` (any case), or nullptr.
const QueryFieldInfo* FindQueryField(std::string_view name);

// A number as the panes show it (the aperture to a tenth, a short exposure
// as 1/n), so that "f:2.8" finds what shows as f/2.8.
double ShownNumber(QueryField field, double value);

// The "35mm Equivalent" row's number, which focal35: reads: whole
// millimetres; 0 when the record cannot tell it.
double Focal35Number(const ExifSummary& record);

// The formats `name` stands for ("jpeg", "jpg", "raw", "heif", "cr2", ...),
// one bit per PhotoFormat; 0 when it names none.
uint64_t FormatsNamed(std::string_view name);
// The formats whose FormatShortName is `name` exactly ("format:=raw" is
// Panasonic's own raw format only).
uint64_t FormatsShortNamed(std::string_view name);
uint64_t FormatBit(int format);
