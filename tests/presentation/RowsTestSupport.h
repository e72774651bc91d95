#pragma once

#include "presentation/TagRows.h"

#include <cstring>
#include <optional>
#include <string>
#include <vector>

inline ExifSummary BlankRecord() {
    ExifSummary record;
    std::memset(&record, 0, sizeof record);
    record.exifValid = true;
    return record;
}

// The value of the row with this label, or nothing when the row is absent.
inline std::optional<std::string> RowValue(const ExifSummary& record, const std::string& label) {
    for (const TagRow& row : BuildTagRows(record))
        if (row.label == label)
            return row.value;
    return std::nullopt;
}

inline std::vector<std::string> RowLabels(const ExifSummary& record) {
    std::vector<std::string> labels;
    for (const TagRow& row : BuildTagRows(record))
        labels.push_back(row.label);
    return labels;
}
