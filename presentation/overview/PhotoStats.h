#pragma once

#include "metadata/ExifSummary.h"
#include "metadata/PhotoFormat.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// How a collection of photos was shot: counts of focal lengths, apertures,
// ISO speeds, exposure times, cameras, lenses, days, hours, flash and
// formats, each bin with the search query that lists exactly its photos
// among those counted. The "Overview" pane draws it, `velmora-tags --stats`
// prints it. No Qt.

struct StatsBin {
    std::string label; // as shown: "35 mm", "f/2.8", "ISO 400", "1/250 s", ...
    // The search-box query listing exactly this bin's photos among those
    // counted ("focal35:35", "date:2023-05-14"); empty for "Other" and for a
    // name the query language cannot quote.
    std::string query;
    uint64_t count = 0;
};

struct StatsChart {
    std::string key;   // "camera", "lens", "focal", "aperture", "iso", ...
    std::string title; // "Cameras", "Lenses", "Focal length", ...
    // In reading order: numbers, days and hours ascending; cameras, lenses
    // and formats (by short name: "JPEG", "HEIC", "CR2") by count, most
    // first, ties by name.
    std::vector<StatsBin> bins;
};

// The charts as "Chart<TAB>Bin<TAB>Count" lines (the chart's title), chart
// by chart: the pane's copy and velmora-tags --stats print the same table.
void AppendChartsText(const std::vector<StatsChart>& charts, std::string& out);

class PhotoStats {
public:
    // One photo read: its record, its format, its lens (FileReport::lens,
    // may be empty) and whether it has a GPS position. A file read without
    // metadata (record.exifValid false) counts only by its format, and not
    // among Photos().
    void Add(const ExifSummary& record, PhotoFormat format, std::string_view lens,
             bool hasPosition);
    void Clear();
    // The photos read with metadata.
    uint64_t Photos() const { return m_photos; }
    // The charts in a fixed order: camera, lens, focal, aperture, iso,
    // exposure, day, hour, flash, format. Every bin (top == 0), or for
    // cameras and lenses the `top` most used and the rest as one bin
    // "Other" (query empty).
    std::vector<StatsChart> Charts(size_t top = 0) const;
    // "1,234 photos · 3 cameras · 5 lenses · 14 May 2023 – 2 June 2023 ·
    // 412 with a GPS position"; the parts with nothing to tell left out.
    std::string HeaderLine() const;

    // The bins' reading, one per value kind.
    struct NumberBin {
        uint64_t count = 0;
        // The lowest and highest value shown (ShownNumber), per kind: [0]
        // read as it is, [1] for focal lengths read as recorded where the
        // 35 mm equivalent is unknown.
        double low[2] = {0, 0};
        double high[2] = {0, 0};
        bool seen[2] = {false, false};
    };

private:
    uint64_t m_photos = 0;
    uint64_t m_withPosition = 0;
    std::map<std::string, uint64_t> m_cameras;
    std::map<std::string, uint64_t> m_lenses;
    std::map<int, NumberBin> m_focal;
    std::map<int, NumberBin> m_aperture;
    std::map<int, NumberBin> m_iso;
    std::map<int, NumberBin> m_exposure;
    bool m_anyFocal35 = false;          // some photo's 35 mm equivalent is known
    std::map<int64_t, uint64_t> m_days; // YYYYMMDD
    uint64_t m_hours[24] = {};
    uint64_t m_flash[2] = {};                  // not fired, fired
    std::map<std::string, uint64_t> m_formats; // by short name
};
