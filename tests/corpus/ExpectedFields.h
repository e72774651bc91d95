#pragma once

#include "metadata/ExifSummary.h"
#include "tests/corpus/ReferenceReading.h"

#include <string>
#include <vector>

// One field of our record beside what the reader is meant to have made of
// the file, derived from exiftool's reading by the reader's own rules.
struct FieldComparison {
    std::string field; // the record's field name
    std::string ours;
    std::string expected;
    bool agree = false;
};

std::vector<FieldComparison> CompareWithReference(const ExifSummary& ours,
                                                  const ReferenceReading& reference);
