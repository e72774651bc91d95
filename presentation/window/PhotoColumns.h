#pragma once

#include "framework/views/FileColumns.h"
#include "presentation/FileReport.h"

// The photographs' columns of the file list's Details layout: Date Taken,
// Camera (named by CameraName, as the Overview names it), Dimensions,
// Exposure, Aperture, ISO and Focal Length, each written as the
// "Properties" pane writes its row, and Lens (EXIF's LensModel, else the
// maker note's lens), read by the same inspection of the file (InspectFile),
// which also gives the file's PhotoFacts. Dates sort as dates and the
// numbers as numbers; a file without the row leaves the cell empty. Lens
// comes last so that a column state saved before it restores onto the same
// columns.
class PhotoColumns final : public FileColumnProvider {
public:
    enum Column {
        DateTaken,
        Camera,
        Dimensions,
        Exposure,
        Aperture,
        Iso,
        FocalLength,
        Lens,
        Count
    };

    QStringList Titles() const override;
    std::vector<FileColumnCell> Read(const QByteArray& path) const override;
    std::vector<FileColumnCell> ReadWithFacts(const QByteArray& path,
                                              FileFactsPtr& facts) const override;
    // Room for a date and time, and for most lens names.
    int StartWidth(int column) const override;

    // The cells of one inspected file; all empty without a valid EXIF block.
    static std::vector<FileColumnCell> CellsOf(const FileReport& report);
};
