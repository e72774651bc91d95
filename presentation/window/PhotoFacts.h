#pragma once

#include "framework/views/FileColumns.h"
#include "metadata/ExifSummary.h"
#include "metadata/PhotoFormat.h"
#include "presentation/FileReport.h"

#include <memory>
#include <string>

// What the "Overview" pane counts of one photo, kept by the file list beside
// its cells from the same reading (PhotoColumns, PhotoSearch), so the pane
// never reads a file itself. Only the record's fields a count looks at are
// kept: the whole record, its comment among them, is ten times as large,
// and a search may list tens of thousands of photos.
class PhotoFacts final : public FileFacts {
public:
    // The facts of one inspected file; null for a file of no photo format.
    static std::shared_ptr<const PhotoFacts> Of(const FileReport& report);

    // The record again, with the fields not kept zero.
    ExifSummary Record() const;
    PhotoFormat Format() const { return m_format; }
    const std::string& Lens() const { return m_lens; }
    bool HasPosition() const { return m_hasPosition; }

private:
    char m_cameraMake[sizeof ExifSummary::cameraMake] = {};
    char m_cameraModel[sizeof ExifSummary::cameraModel] = {};
    char m_dateTime[sizeof ExifSummary::dateTime] = {};
    int32_t m_flashUsed = 0;
    int32_t m_isoEquivalent = 0;
    float m_focalLength = 0;
    float m_exposureTime = 0;
    float m_fNumber = 0;
    float m_ccdWidth = 0;
    bool m_exifValid = false;
    PhotoFormat m_format = PhotoFormat::Unknown;
    bool m_hasPosition = false;
    std::string m_lens;
};
