#pragma once

#include "tests/fixtures/ExifBuilder.h"
#include "tests/fixtures/JpegBuilder.h"

#include <string>
#include <vector>

namespace tooltest {

// A fresh folder under TMPDIR, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return m_path; }
    // Writes `bytes` to Path()/name and returns the full path.
    std::string Write(const std::string& name, const fixture::Bytes& bytes) const;

private:
    std::string m_path;
};

struct Output {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the command in this process, as `velmora-tags args...`.
Output RunInProcess(const std::vector<std::string>& args);

std::vector<std::string> Lines(const std::string& text);

// Files the tests read.
fixture::Bytes ExifJpeg();   // a camera-like file with EXIF data
fixture::Bytes NoExifJpeg(); // a JFIF file without EXIF data
// EXIF data, then an end-of-image segment: the reader prints "No image in
// jpeg!" and the EXIF data stays valid.
fixture::Bytes ExifThenEndOfImage();
// EXIF data and a comment after it, so the comment shows.
fixture::Bytes ExifWithComment(const std::string& comment);

} // namespace tooltest
