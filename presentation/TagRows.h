#pragma once

#include "metadata/ExifSummary.h"
#include "metadata/PhotoFormat.h"

#include <array>
#include <string>
#include <vector>

// One row of the tag list: the "Tag" column and the "Data" column, UTF-8.
struct TagRow {
    std::string label;
    std::string value;
};

// The rows of one record in their fixed order, each only when its condition
// holds. The caller shows them only for a record whose exifValid is true.
std::vector<TagRow> BuildTagRows(const ExifSummary& record);
// The same rows for a file of `format`: "Encoding" names the JPEG process
// for a JPEG file and the file's format for any other. A movie has only the
// rows it can fill (make, model, date, size), "Encoding" naming its codec.
std::vector<TagRow> BuildTagRows(const ExifSummary& record, PhotoFormat format);

// The 24 labels in row order, whether or not a record has them.
const std::array<const char*, 24>& TagRowLabels();
