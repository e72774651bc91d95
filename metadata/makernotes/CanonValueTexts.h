#pragma once

#include <cstdint>
#include <string_view>

struct ValueText {
    int64_t value;
    std::string_view text;
};

// What the number of an enumerated Canon field means ("AI Focus AF" for
// CameraSettings' FocusMode 2); empty when we do not know. `record` is the
// record's name as in CanonRecordTables ("Main" for the directory's own
// entries). Both names are the program's constants (the tables' or
// literals), which live unchanged as long as it does: lookups are kept by
// their addresses.
std::string_view CanonValueText(std::string_view record, std::string_view field, int64_t value);
