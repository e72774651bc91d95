#pragma once

#include "metadata/tags/MetadataEntry.h"

#include <QString>

#include <memory>
#include <vector>

class QStandardItemModel;

// The tree the "Metadata" pane shows: one row per group, named for people
// ("Image", "Exif", "GPS", ...), holding one row per entry in the order the
// reader listed them. A file with a GPS position gets a "Position" row first
// in its GPS group.
namespace MetadataModel {

enum Column { TagColumn, ValueColumn, IdColumn, TypeColumn, ColumnCount };

enum Role {
    // On the tag cell of the "Position" row: its geo: URI.
    GeoUriRole = Qt::UserRole + 1,
    // On the tag cell of every row: true for a group row.
    GroupRole,
};

inline constexpr char kPositionTag[] = "Position";

// A new model of `entries` (tooltips: the raw value, as written).
std::unique_ptr<QStandardItemModel> Build(const std::vector<MetadataEntry>& entries);

// "0x829A" for a TIFF tag; empty for XMP and IPTC (no number).
QString IdText(int32_t id);
// "SHORT", "RATIONAL", ... for a TIFF field type; empty for 0 (XMP, IPTC).
QString TypeText(uint16_t type);

} // namespace MetadataModel
