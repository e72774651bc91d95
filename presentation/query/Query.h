#pragma once

#include "metadata/ExifSummary.h"
#include "metadata/PhotoFormat.h"
#include "metadata/tags/GpsPosition.h"
#include "metadata/tags/MetadataEntry.h"
#include "presentation/query/QueryCondition.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct FileReport;

// A search over photos by what is in them ("canon iso:>=800 -flash:yes"),
// compiled once and then matched against each file where it is read. The
// language is described in README.md and, briefly, by kQueryHelp.

// What a file must be read for before it can be matched.
enum class QueryNeeds {
    Record,  // the record alone, as the Properties pane's rows are read
    AllTags, // every tag (InspectOptions::allTags)
};

// One read file as the matcher sees it. Entries and position may be null:
// the tags were not read, or there is no position.
struct QueryInput {
    const ExifSummary* record = nullptr;
    PhotoFormat format = PhotoFormat::Unknown;
    const std::vector<MetadataEntry>* entries = nullptr;
    const GpsPosition* position = nullptr;
};

QueryInput QueryInputOf(const FileReport& report);

// Why a query could not be compiled, and where.
struct QueryError {
    size_t offset = 0; // in bytes
    size_t column = 0; // in characters, from 1
    std::string reason;

    // "at character 7: 'abc' is not a number"
    std::string Message() const;
};

class Query {
public:
    // Compiles `text`. A blank text matches every file. On a fault returns
    // false with `error` set and leaves a query that matches nothing.
    static bool Parse(std::string_view text, Query& query, QueryError& error);

    QueryNeeds Needs() const { return m_needs; }
    bool Matches(const QueryInput& input) const;

private:
    friend class QueryParser;

    bool Holds(uint32_t node, const QueryInput& input) const;

    std::vector<QueryNode> m_nodes;
    std::vector<QueryCondition> m_conditions;
    uint32_t m_root = 0;
    bool m_matchesAll = false;
    QueryNeeds m_needs = QueryNeeds::Record;
};

// The language in a few lines, for a search box's tooltip.
extern const char* const kQueryHelp;
