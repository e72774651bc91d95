#pragma once

#include "tests/tools/TestJson.h"

#include <optional>
#include <string>
#include <string_view>

// One exiftool reading of a corpus file ("exiftool -j -n -a -G1 -s"): a flat
// object of group-qualified tag names such as "IFD0:Make".
class ReferenceReading {
public:
    bool Load(const std::string& path, std::string& error);

    bool Has(const char* key) const { return m_tags.Find(key) != nullptr; }
    // Some tag of the group ("IFD0") is there.
    bool HasGroup(std::string_view group) const;
    // A number, also one written as a string ("0.006024..."); the first of a
    // list of numbers ("100 100").
    std::optional<double> Number(const char* key) const;
    // A text; a number as written.
    std::optional<std::string> Text(const char* key) const;

private:
    testjson::Value m_tags;
};
