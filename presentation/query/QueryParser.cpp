// The grammar, loosest first:
//   query   := either*            (blank: every file)
//   either  := all ("OR" all)*
//   all     := unary unary*       (side by side: each must hold)
//   unary   := "-" unary | "(" either ")" | word
#include "presentation/query/Query.h"
#include "presentation/query/QueryLexer.h"
#include "presentation/query/QueryTerm.h"

namespace {

// Parentheses deeper than this are refused, which bounds the recursion of
// both the parser and the matcher.
constexpr int kMaxDepth = 32;

} // namespace

class QueryParser {
public:
    QueryParser(std::string_view text, Query& query, QueryError& error)
        : m_text(text), m_query(query), m_error(error) {}

    bool Parse() {
        if (!LexQuery(m_text, m_tokens, m_error))
            return false;
        if (Peek().kind == QueryToken::Kind::End) {
            m_query.m_matchesAll = true;
            return true;
        }
        uint32_t root = 0;
        if (!Either(0, root))
            return false;
        if (Peek().kind != QueryToken::Kind::End)
            return Fail(Peek().offset, "this ')' closes no '('");
        m_query.m_root = root;
        m_query.m_needs = m_allTags ? QueryNeeds::AllTags : QueryNeeds::Record;
        return true;
    }

private:
    using Kind = QueryToken::Kind;

    const QueryToken& Peek() const { return m_tokens[m_next]; }
    bool StartsTerm() const {
        const Kind kind = Peek().kind;
        return kind == Kind::Word || kind == Kind::Open || kind == Kind::Not;
    }

    bool Fail(size_t offset, std::string reason) {
        m_error.offset = offset;
        m_error.column = QueryColumn(m_text, offset);
        m_error.reason = std::move(reason);
        return false;
    }

    uint32_t AddNode(QueryNode node) {
        m_query.m_nodes.push_back(std::move(node));
        return static_cast<uint32_t>(m_query.m_nodes.size() - 1);
    }

    // A list of one needs no node of its own.
    uint32_t Group(QueryNode::Kind kind, std::vector<uint32_t> children) {
        if (children.size() == 1)
            return children.front();
        QueryNode node;
        node.kind = kind;
        node.children = std::move(children);
        return AddNode(std::move(node));
    }

    bool Either(int depth, uint32_t& result) {
        std::vector<uint32_t> children(1);
        if (!All(depth, children.back()))
            return false;
        while (Peek().kind == Kind::Or) {
            const size_t orAt = Peek().offset;
            ++m_next;
            if (!StartsTerm())
                return Fail(orAt, "'OR' needs a term on each side");
            children.emplace_back();
            if (!All(depth, children.back()))
                return false;
        }
        result = Group(QueryNode::Kind::Any, std::move(children));
        return true;
    }

    bool All(int depth, uint32_t& result) {
        std::vector<uint32_t> children;
        while (StartsTerm()) {
            children.emplace_back();
            if (!Unary(depth, children.back()))
                return false;
        }
        if (children.empty()) {
            const QueryToken& token = Peek();
            if (token.kind == Kind::Or)
                return Fail(token.offset, "'OR' needs a term on each side");
            if (token.kind == Kind::Close)
                return Fail(token.offset, depth > 0 ? "nothing between the parentheses"
                                                    : "this ')' closes no '('");
            return Fail(token.offset, "a term is missing here");
        }
        result = Group(QueryNode::Kind::All, std::move(children));
        return true;
    }

    bool Unary(int depth, uint32_t& result) {
        const QueryToken& token = Peek();
        switch (token.kind) {
        case Kind::Not: {
            ++m_next;
            if (!StartsTerm())
                return Fail(token.offset, "'-' must stand right before what it leaves out");
            QueryNode node;
            node.kind = QueryNode::Kind::Not;
            node.children.emplace_back();
            if (!Unary(depth, node.children.back()))
                return false;
            result = AddNode(std::move(node));
            return true;
        }
        case Kind::Open: {
            if (depth + 1 > kMaxDepth)
                return Fail(token.offset, "parentheses nested too deeply");
            const size_t openAt = token.offset;
            ++m_next;
            if (!Either(depth + 1, result))
                return false;
            if (Peek().kind != Kind::Close)
                return Fail(openAt, "this '(' is not closed");
            ++m_next;
            return true;
        }
        case Kind::Word:
            return Term(token, result);
        default:
            return Fail(token.offset, "a term is missing here");
        }
    }

    bool Term(const QueryToken& token, uint32_t& result) {
        QueryCondition condition;
        bool allTags = false;
        TermFault fault;
        if (!CompileTerm(token, condition, allTags, fault))
            return Fail(fault.offset, std::move(fault.reason));
        ++m_next;
        m_allTags = m_allTags || allTags;
        m_query.m_conditions.push_back(std::move(condition));
        QueryNode node;
        node.kind = QueryNode::Kind::Test;
        node.condition = static_cast<uint32_t>(m_query.m_conditions.size() - 1);
        result = AddNode(std::move(node));
        return true;
    }

    std::string_view m_text;
    Query& m_query;
    QueryError& m_error;
    std::vector<QueryToken> m_tokens;
    size_t m_next = 0;
    bool m_allTags = false;
};

bool Query::Parse(std::string_view text, Query& query, QueryError& error) {
    query = Query();
    QueryParser parser(text, query, error);
    if (parser.Parse())
        return true;
    query = Query();
    return false;
}

std::string QueryError::Message() const {
    return "at character " + std::to_string(column) + ": " + reason;
}
