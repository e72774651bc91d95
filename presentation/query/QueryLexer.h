#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct QueryError;

// The words and signs of a query.
struct QueryToken {
    enum class Kind { Word, Open, Close, Or, Not, End };
    Kind kind = Kind::End;
    size_t offset = 0; // where it starts in the query, in bytes
    // Word: the word with its quotes taken out, and how much of it came
    // before the first quote (a field name is only ever looked for there).
    std::string text;
    size_t unquoted = 0;
    bool quoted = false;
};

// Splits a query into tokens, the last one End. Words end at a blank or a
// parenthesis outside quotes; `OR` alone is the operator; a '-' before a
// term negates it. False on an unclosed quote or a '-' before nothing.
bool LexQuery(std::string_view query, std::vector<QueryToken>& tokens, QueryError& error);

// The 1-based character position of byte `offset` in `query`.
size_t QueryColumn(std::string_view query, size_t offset);
