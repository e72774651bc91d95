#include "tests/corpus/ReferenceReading.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

bool ReferenceReading::Load(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    testjson::Value document;
    if (!testjson::Parse(text.str(), document, error))
        return false;
    // exiftool writes a list with one object per file.
    if (document.type != testjson::Value::Type::Array || document.items.size() != 1 ||
        document.items[0].type != testjson::Value::Type::Object) {
        error = path + ": not a list of one object";
        return false;
    }
    m_tags = std::move(document.items[0]);
    return true;
}

std::optional<double> ReferenceReading::Number(const char* key) const {
    const testjson::Value* value = m_tags.Find(key);
    if (value == nullptr)
        return std::nullopt;
    if (value->type == testjson::Value::Type::Number)
        return value->number;
    if (value->type != testjson::Value::Type::String || value->text.empty())
        return std::nullopt;
    const char* start = value->text.c_str();
    char* end = nullptr;
    const double number = std::strtod(start, &end);
    if (end == start || (*end != '\0' && *end != ' '))
        return std::nullopt;
    return number;
}

std::optional<std::string> ReferenceReading::Text(const char* key) const {
    const testjson::Value* value = m_tags.Find(key);
    if (value == nullptr)
        return std::nullopt;
    if (value->type == testjson::Value::Type::String ||
        value->type == testjson::Value::Type::Number)
        return value->text;
    return std::nullopt;
}

bool ReferenceReading::HasGroup(std::string_view group) const {
    for (const testjson::Member& member : m_tags.members) {
        const std::string_view key = member.first;
        if (key.size() > group.size() && key.substr(0, group.size()) == group &&
            key[group.size()] == ':')
            return true;
    }
    return false;
}
