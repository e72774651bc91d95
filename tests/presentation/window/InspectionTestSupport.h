#pragma once

#include "metadata/ByteStream.h"
#include "metadata/JpegExifReader.h"
#include "tests/fixtures/CameraPicture.h"
#include "tests/fixtures/JpegBuilder.h"
#include "tests/presentation/window/PresentationTestSupport.h"

#include <cstring>
#include <string>

// The files the inspection tests open, and the rows they should show.

// The rows the reader and the row builder give for these bytes.
inline ShownRows ExpectedRows(const fixture::Bytes& bytes) {
    ExifSummary record;
    std::memset(&record, 0, sizeof record);
    CJpegExifReader reader(&record);
    MemoryStream stream(bytes.data(), bytes.size());
    reader.ReadSections(stream);
    return AsShown(BuildTagRows(record));
}

// A file with far fewer rows than the camera-like one: the make, the model
// when one is given, and a frame without image data.
inline fixture::Bytes SecondCameraJpeg(const std::string& model = {}) {
    fixture::ExifBuilder exif;
    exif.Ascii(0, 0x010F, "Second");
    if (!model.empty())
        exif.Ascii(0, 0x0110, model);
    return fixture::JpegBuilder().Soi().App1(exif).Frame(10, 20).BareSos().Data();
}
