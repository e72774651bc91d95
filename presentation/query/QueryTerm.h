#pragma once

#include "presentation/query/QueryCondition.h"

#include <cstddef>
#include <string>

struct QueryToken;

// Compiles one word of a query into its condition: a field filter
// ("iso:>=800", "date:2023-05"), a filter on any tag by its name
// ("ExifIFD:WhiteBalance:1") or a free word. False with the reason and the
// byte offset of the fault in the query.
struct TermFault {
    size_t offset = 0;
    std::string reason;
};
bool CompileTerm(const QueryToken& word, QueryCondition& condition, bool& needsAllTags,
                 TermFault& fault);
