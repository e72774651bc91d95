#pragma once

#include <string>
#include <string_view>

// Text compared the way people search: without case and without accents
// ("É" and "e" alike, "ß" as "ss", "Æ" as "ae"). Bytes that are not UTF-8
// are taken as Latin-1, as the record's texts are.

// The folded form of `text`, for the query's own words (built once).
std::string FoldText(std::string_view text);

// Whether `text`, folded, contains `folded` (a FoldText result), or equals
// it. The folded form of `text` is never built: tag texts are compared as
// they are, one character at a time.
bool FoldedContains(std::string_view text, std::string_view folded);
bool FoldedEquals(std::string_view text, std::string_view folded);
