#include "tests/tools/ToolTestSupport.h"

#include "tests/fixtures/CameraPicture.h"
#include "tools/TagsCommand.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace tooltest {

TempDir::TempDir() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/velmora-tags-XXXXXX";
    if (::mkdtemp(pattern.data()) != nullptr)
        m_path = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    if (!m_path.empty())
        std::filesystem::remove_all(m_path, ignored);
}

std::string TempDir::Write(const std::string& name, const fixture::Bytes& bytes) const {
    const std::string path = m_path + "/" + name;
    fixture::WriteFile(path, bytes);
    return path;
}

Output RunInProcess(const std::vector<std::string>& args) {
    std::vector<const char*> argv{"velmora-tags"};
    for (const std::string& arg : args)
        argv.push_back(arg.c_str());
    argv.push_back(nullptr);

    char* outText = nullptr;
    char* errText = nullptr;
    size_t outSize = 0;
    size_t errSize = 0;
    std::FILE* out = ::open_memstream(&outText, &outSize);
    std::FILE* err = ::open_memstream(&errText, &errSize);
    Output result;
    result.status = RunCommandLine(static_cast<int>(argv.size()) - 1, argv.data(), out, err);
    std::fclose(out);
    std::fclose(err);
    result.out.assign(outText, outSize);
    result.err.assign(errText, errSize);
    std::free(outText);
    std::free(errText);
    return result;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

fixture::Bytes ExifJpeg() {
    return fixture::CameraLikeJpeg();
}

fixture::Bytes NoExifJpeg() {
    fixture::JpegBuilder jpeg;
    jpeg.Soi().App0Jfif().FlatImage(16, 8, 10, 20, 30);
    return jpeg.Data();
}

namespace {

fixture::ExifBuilder SmallExif() {
    fixture::ExifBuilder exif;
    exif.Ascii(0, 0x010F, "Velmora").Ascii(0, 0x0110, "Unit");
    return exif;
}

} // namespace

fixture::Bytes ExifThenEndOfImage() {
    fixture::JpegBuilder jpeg;
    jpeg.Soi().App1(SmallExif()).Segment(0xD9, {});
    return jpeg.Data();
}

fixture::Bytes ExifWithComment(const std::string& comment) {
    fixture::JpegBuilder jpeg;
    jpeg.Soi().App1(SmallExif()).Comment(comment).FlatImage(8, 8, 1, 2, 3);
    return jpeg.Data();
}

} // namespace tooltest
