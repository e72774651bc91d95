#include "presentation/query/QueryTerm.h"

#include "presentation/query/FoldedText.h"
#include "presentation/query/QueryFields.h"
#include "presentation/query/QueryLexer.h"

#include <string_view>

namespace {

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsNameCharacter(char c) {
    return IsLetter(c) || (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '[' || c == ']' ||
           c == '/';
}

// A tag or group name as the Metadata pane shows it, followed by ':';
// returns its length, or 0.
size_t NameBeforeColon(std::string_view text) {
    if (text.empty() || !IsLetter(text[0]))
        return 0;
    size_t length = 1;
    while (length < text.size() && IsNameCharacter(text[length]))
        ++length;
    return length < text.size() && text[length] == ':' ? length : 0;
}

struct Value {
    std::string_view text;
    size_t offset; // in the query
};

class TermCompiler {
public:
    TermCompiler(QueryCondition& condition, TermFault& fault)
        : m_condition(condition), m_fault(fault) {}

    bool Compile(const QueryFieldInfo& field, Value value);
    bool CompileTag(Value value);
    bool CompileWords(Value value);

private:
    bool Fail(size_t offset, std::string reason) {
        m_fault.offset = offset;
        m_fault.reason = std::move(reason);
        return false;
    }
    bool ReadComparison(Value& value);
    bool CompileText(Value value);
    // "a..b", "a..", "..b" or a single value after its sign.
    struct RangeParts {
        Comparison comparison = Comparison::Equal;
        Value low{};
        Value high{}; // for Range only
    };
    bool SplitRange(Value value, RangeParts& parts);
    bool CompileNumbers(const QueryFieldInfo& field, Value value);
    bool ParseDate(Value value, QueryDate& date);
    bool CompileDates(Value value);
    bool CompileYesNo(const char* field, Value value);
    bool CompilePlace(Value value);
    bool CompileShape(Value value);
    bool CompileFormat(Value value);
    bool ParseOne(const QueryFieldInfo& field, Value value, double& number);

    QueryCondition& m_condition;
    TermFault& m_fault;
    Comparison m_comparison = Comparison::Equal;
    bool m_compared = false; // a comparison sign was written
    bool m_equalSign = false;
    size_t m_signOffset = 0;
};

bool TermCompiler::ReadComparison(Value& value) {
    struct Sign {
        std::string_view text;
        Comparison comparison;
    };
    static constexpr Sign kSigns[] = {
        {">=", Comparison::GreaterEqual}, {"<=", Comparison::LessEqual}, {">", Comparison::Greater},
        {"<", Comparison::Less},          {"=", Comparison::Equal},
    };
    m_signOffset = value.offset;
    for (const Sign& sign : kSigns) {
        if (value.text.substr(0, sign.text.size()) == sign.text) {
            m_comparison = sign.comparison;
            m_compared = sign.comparison != Comparison::Equal;
            m_equalSign = sign.comparison == Comparison::Equal;
            value.text.remove_prefix(sign.text.size());
            value.offset += sign.text.size();
            break;
        }
    }
    if (value.text.empty())
        return Fail(value.offset, "a value is missing here");
    return true;
}

bool TermCompiler::Compile(const QueryFieldInfo& field, Value value) {
    m_condition.field = field.field;
    if (!ReadComparison(value))
        return false;
    const std::string name = std::string(field.name) + ":";
    if (m_compared && field.kind != QueryValueKind::Number &&
        field.kind != QueryValueKind::Exposure && field.kind != QueryValueKind::Date)
        return Fail(m_signOffset, "'" + name + "' takes no comparison");
    switch (field.kind) {
    case QueryValueKind::Text:
        return CompileText(value);
    case QueryValueKind::Number:
    case QueryValueKind::Exposure:
        return CompileNumbers(field, value);
    case QueryValueKind::Date:
        return CompileDates(value);
    case QueryValueKind::YesNo:
        return CompileYesNo(field.name, value);
    case QueryValueKind::Place:
        return CompilePlace(value);
    case QueryValueKind::Shape:
        return CompileShape(value);
    case QueryValueKind::Format:
        return CompileFormat(value);
    }
    return false;
}

bool TermCompiler::CompileText(Value value) {
    m_condition.text = FoldText(value.text);
    m_condition.whole = m_equalSign;
    return true;
}

bool TermCompiler::ParseOne(const QueryFieldInfo& field, Value value, double& number) {
    std::string_view text = value.text;
    // Focal lengths as people write them: "50mm".
    if ((field.field == QueryField::Focal || field.field == QueryField::Focal35) &&
        text.size() > 2 && FoldText(text.substr(text.size() - 2)) == "mm")
        text.remove_suffix(2);
    const bool read = field.kind == QueryValueKind::Exposure ? ParseExposure(text, number)
                                                             : ParseQueryNumber(text, number);
    if (!read) {
        return Fail(value.offset, "'" + std::string(value.text) + "' is not " +
                                      (field.kind == QueryValueKind::Exposure
                                           ? "an exposure time (1/250, 0.5, 2s)"
                                           : "a number"));
    }
    number = ShownNumber(field.field, number);
    return true;
}

bool TermCompiler::SplitRange(Value value, RangeParts& parts) {
    const size_t dots = value.text.find("..");
    if (dots == std::string_view::npos) {
        parts.comparison = m_comparison;
        parts.low = value;
        return true;
    }
    if (m_compared || m_equalSign)
        return Fail(m_signOffset, "a range takes no comparison sign");
    const Value low{value.text.substr(0, dots), value.offset};
    const Value high{value.text.substr(dots + 2), value.offset + dots + 2};
    if (low.text.empty() && high.text.empty())
        return Fail(value.offset, "a range needs at least one end");
    // An open end is a comparison with the other.
    if (low.text.empty()) {
        parts.comparison = Comparison::LessEqual;
        parts.low = high;
    } else if (high.text.empty()) {
        parts.comparison = Comparison::GreaterEqual;
        parts.low = low;
    } else {
        parts.comparison = Comparison::Range;
        parts.low = low;
        parts.high = high;
    }
    return true;
}

bool TermCompiler::CompileNumbers(const QueryFieldInfo& field, Value value) {
    NumberTest& test = m_condition.number;
    m_condition.numeric = true;
    RangeParts parts;
    if (!SplitRange(value, parts) || !ParseOne(field, parts.low, test.low))
        return false;
    test.comparison = parts.comparison;
    if (parts.comparison != Comparison::Range)
        return true;
    if (!ParseOne(field, parts.high, test.high))
        return false;
    if (test.low > test.high)
        return Fail(parts.high.offset, "the range ends before it starts");
    return true;
}

bool TermCompiler::ParseDate(Value value, QueryDate& date) {
    if (ParseQueryDate(value.text, date))
        return true;
    return Fail(value.offset,
                "'" + std::string(value.text) + "' is not a date (2023, 2023-05, 2023-05-14)");
}

bool TermCompiler::CompileDates(Value value) {
    DateTest& test = m_condition.date;
    RangeParts parts;
    if (!SplitRange(value, parts) || !ParseDate(parts.low, test.low))
        return false;
    test.comparison = parts.comparison;
    if (parts.comparison != Comparison::Range)
        return true;
    if (!ParseDate(parts.high, test.high))
        return false;
    // The start, at the end's precision, must not be after the end.
    DateTest order;
    order.comparison = Comparison::LessEqual;
    order.low = test.high;
    if (!order.Holds(test.low.key))
        return Fail(parts.high.offset, "the range ends before it starts");
    return true;
}

bool TermCompiler::CompileYesNo(const char* field, Value value) {
    const std::string word = FoldText(value.text);
    if (word != "yes" && word != "no")
        return Fail(value.offset, "'" + std::string(field) + ":' takes yes or no");
    m_condition.yes = word == "yes";
    return true;
}

bool TermCompiler::CompilePlace(Value value) {
    double numbers[3] = {};
    size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        size_t end = value.text.find(',', start);
        if (i == 2 ? end != std::string_view::npos : end == std::string_view::npos)
            return Fail(value.offset, "'near:' takes latitude,longitude,kilometres");
        if (end == std::string_view::npos)
            end = value.text.size();
        const std::string_view part = value.text.substr(start, end - start);
        if (!ParseQueryNumber(part, numbers[i]))
            return Fail(value.offset + start, "'" + std::string(part) + "' is not a number");
        start = end + 1;
    }
    if (numbers[0] < -90 || numbers[0] > 90)
        return Fail(value.offset, "the latitude is not between -90 and 90");
    if (numbers[1] < -180 || numbers[1] > 180)
        return Fail(value.offset, "the longitude is not between -180 and 180");
    if (!(numbers[2] >= 0))
        return Fail(value.offset, "the distance in kilometres is negative");
    m_condition.latitude = numbers[0];
    m_condition.longitude = numbers[1];
    m_condition.kilometres = numbers[2];
    return true;
}

bool TermCompiler::CompileShape(Value value) {
    const std::string word = FoldText(value.text);
    if (word == "portrait")
        m_condition.shape = PictureShape::Portrait;
    else if (word == "landscape")
        m_condition.shape = PictureShape::Landscape;
    else if (word == "square")
        m_condition.shape = PictureShape::Square;
    else
        return Fail(value.offset, "'orientation:' takes portrait, landscape or square");
    return true;
}

bool TermCompiler::CompileFormat(Value value) {
    // "format:=raw" is the one format of that short name.
    m_condition.formats =
        m_equalSign ? FormatsShortNamed(FoldText(value.text)) : FormatsNamed(value.text);
    if (m_condition.formats == 0)
        return Fail(value.offset, "'" + std::string(value.text) + "' is not a format we read");
    return true;
}

bool TermCompiler::CompileTag(Value value) {
    m_condition.field = QueryField::Tag;
    if (!ReadComparison(value))
        return false;
    double number = 0;
    const size_t dots = value.text.find("..");
    if (m_compared || dots != std::string_view::npos) {
        // Comparisons and ranges are for numbers only.
        static constexpr QueryFieldInfo kNumber = {"", QueryField::Tag, QueryValueKind::Number,
                                                   true};
        return CompileNumbers(kNumber, value);
    }
    if (ParseQueryNumber(value.text, number)) {
        m_condition.numeric = true;
        m_condition.number.low = number;
    }
    m_condition.text = FoldText(value.text);
    m_condition.whole = m_equalSign;
    return true;
}

bool TermCompiler::CompileWords(Value value) {
    if (value.text.empty())
        return Fail(value.offset, "the quotes hold nothing");
    m_condition.field = QueryField::Words;
    m_condition.text = FoldText(value.text);
    return true;
}

} // namespace

bool CompileTerm(const QueryToken& word, QueryCondition& condition, bool& needsAllTags,
                 TermFault& fault) {
    TermCompiler compiler(condition, fault);
    // Field names are only looked for before the first quote, so that a
    // quoted "iso:100" is a phrase.
    const std::string_view text(word.text);
    const std::string_view head = text.substr(0, word.unquoted);
    const size_t colon = head.find(':');
    if (colon != std::string_view::npos) {
        if (const QueryFieldInfo* field = FindQueryField(head.substr(0, colon))) {
            needsAllTags = field->needsAllTags;
            return compiler.Compile(*field, {text.substr(colon + 1), word.offset + colon + 1});
        }
    }
    if (const size_t first = NameBeforeColon(head)) {
        // Group:Name:value, or Name:value.
        size_t valueAt = first + 1;
        const size_t second = NameBeforeColon(head.substr(valueAt));
        if (second != 0) {
            condition.group = FoldText(head.substr(0, first));
            condition.name = FoldText(head.substr(valueAt, second));
            valueAt += second + 1;
        } else {
            condition.name = FoldText(head.substr(0, first));
        }
        needsAllTags = true;
        return compiler.CompileTag({text.substr(valueAt), word.offset + valueAt});
    }
    needsAllTags = true;
    return compiler.CompileWords({text, word.offset});
}
