#include "tools/CsvText.h"

#include <algorithm>

namespace {

bool NeedsQuotes(char c) {
    return c == ',' || c == '"' || c == '\r' || c == '\n';
}

} // namespace

void AppendCsvField(std::string& out, std::string_view field) {
    if (std::none_of(field.begin(), field.end(), NeedsQuotes)) {
        out += field;
        return;
    }
    out += '"';
    for (char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}
