#include "presentation/query/QueryLexer.h"

#include "presentation/query/Query.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool Fail(std::string_view query, size_t offset, std::string reason, QueryError& error) {
    error.offset = offset;
    error.column = QueryColumn(query, offset);
    error.reason = std::move(reason);
    return false;
}

} // namespace

size_t QueryColumn(std::string_view query, size_t offset) {
    size_t column = 1;
    for (size_t i = 0; i < offset && i < query.size(); ++i) {
        // Continuation bytes belong to the character before them.
        if ((static_cast<unsigned char>(query[i]) & 0xC0) != 0x80)
            ++column;
    }
    return column;
}

bool LexQuery(std::string_view query, std::vector<QueryToken>& tokens, QueryError& error) {
    tokens.clear();
    size_t pos = 0;
    while (true) {
        while (pos < query.size() && IsBlank(query[pos]))
            ++pos;
        QueryToken token;
        token.offset = pos;
        if (pos == query.size()) {
            tokens.push_back(std::move(token));
            return true;
        }
        const char c = query[pos];
        if (c == '(' || c == ')') {
            token.kind = c == '(' ? QueryToken::Kind::Open : QueryToken::Kind::Close;
            tokens.push_back(std::move(token));
            ++pos;
            continue;
        }
        if (c == '-') {
            if (pos + 1 == query.size() || IsBlank(query[pos + 1]) || query[pos + 1] == ')')
                return Fail(query, pos, "'-' must stand right before what it leaves out", error);
            token.kind = QueryToken::Kind::Not;
            tokens.push_back(std::move(token));
            ++pos;
            continue;
        }
        token.kind = QueryToken::Kind::Word;
        token.unquoted = std::string_view::npos;
        size_t quoteAt = 0;
        bool inQuotes = false;
        for (; pos < query.size(); ++pos) {
            const char d = query[pos];
            if (d == '"') {
                if (!inQuotes)
                    quoteAt = pos;
                inQuotes = !inQuotes;
                token.quoted = true;
                if (token.unquoted == std::string_view::npos)
                    token.unquoted = token.text.size();
                continue;
            }
            if (!inQuotes && (IsBlank(d) || d == '(' || d == ')'))
                break;
            token.text += d;
        }
        if (inQuotes)
            return Fail(query, quoteAt, "the quote is not closed", error);
        if (token.unquoted == std::string_view::npos)
            token.unquoted = token.text.size();
        if (!token.quoted && token.text == "OR")
            token.kind = QueryToken::Kind::Or;
        tokens.push_back(std::move(token));
    }
}
