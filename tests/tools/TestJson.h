#pragma once

#include <string>
#include <string_view>
#include <vector>

// A small strict JSON reader for the tests: the tool's output and the
// reference readings of the corpus.
namespace testjson {

struct Member;

struct Value {
    enum class Type { Null, Bool, Number, String, Array, Object };
    Type type = Type::Null;
    bool boolean = false;
    double number = 0;
    std::string text; // strings; also the literal text of numbers
    std::vector<Value> items;
    std::vector<Member> members;

    // The member named `key`, or null.
    const Value* Find(std::string_view key) const;
    bool IsNull() const { return type == Type::Null; }
};

struct Member {
    std::string first; // the key
    Value second;
};

// Parses one complete JSON text (surrounding white space allowed). Strings
// must be valid UTF-8 without raw control characters. On failure returns
// false with a reason in `error`.
bool Parse(std::string_view text, Value& out, std::string& error);

} // namespace testjson
