#include "metadata/JpegExifReader.h"

#include "metadata/JpegMarkers.h"

#include <cstring>
#include <new>

namespace {

// 0xFF bytes accepted before a marker code, the marker's own included.
constexpr int kMaxFillBytes = 6;
// A comment is taken from the segment's bytes 2..999: at most 998 characters.
constexpr int kMaxCommentEnd = 1000;

} // namespace

CJpegExifReader::CJpegExifReader(ExifSummary* givenSummary, MessageSink* givenSink)
    : summary(givenSummary), largestExifDimension(0), sectionCount(0),
      ownsSummary(givenSummary == nullptr),
      sink(givenSink != nullptr ? givenSink : &StandardOutputSink()), blockBase(nullptr),
      blockLength(0) {
    if (ownsSummary) {
        std::memset(&ownRecord, 0, sizeof ownRecord);
        summary = &ownRecord;
    }
    lastError[0] = '\0';
    std::memset(sections, 0, sizeof sections);
}

CJpegExifReader::~CJpegExifReader() {
    // Also frees a buffer left beyond sectionCount by a short read.
    for (JpegSection& section : sections)
        ReleaseData(section);
}

void CJpegExifReader::ReleaseData(JpegSection& section) {
    if (!section.borrowed)
        delete[] section.data;
    section.data = nullptr;
    section.borrowed = false;
}

void CJpegExifReader::SetError(const char* message) {
    std::strncpy(lastError, message, sizeof lastError - 1);
    lastError[sizeof lastError - 1] = '\0';
}

void CJpegExifReader::Print(const char* message) {
    sink->Print(message);
}

bool CJpegExifReader::ReadSections(ByteStream& file) {
    int first = file.ReadByte();
    int second = file.ReadByte();
    if (first != JpegMarker::Fill || second != JpegMarker::StartOfImage)
        return false;

    bool commentSeen = false;
    for (;;) {
        if (sectionCount >= kMaxSections) {
            SetError("Too many sections in jpg file");
            return false;
        }
        int marker;
        if (!ReadMarkerCode(file, marker))
            return false;
        JpegSection& section = sections[sectionCount];
        bool unused = false;
        if (!ReadSegment(file, marker, section, commentSeen, unused))
            return false;
        if (unused)
            continue;
        ++sectionCount;

        switch (TakeSection(section, commentSeen)) {
        case SectionOutcome::Keep:
            break;
        case SectionOutcome::ScanReached:
            return true;
        case SectionOutcome::End:
            return false;
        }
    }
}

bool CJpegExifReader::ReadMarkerCode(ByteStream& file, int& marker) {
    int fillBytes = 0;
    while ((marker = file.ReadByte()) == JpegMarker::Fill) {
        if (++fillBytes > kMaxFillBytes) {
            Print("too many padding unsigned chars\n");
            return false;
        }
    }
    return true;
}

bool CJpegExifReader::ReadSegment(ByteStream& file, int marker, JpegSection& section,
                                  bool commentSeen, bool& unused) {
    section.marker = marker;
    int high = file.ReadByte();
    int low = file.ReadByte();
    if (marker < 0 || high < 0 || low < 0 || high * 256 + low < 2) {
        SetError("invalid marker");
        return false;
    }
    int size = high * 256 + low;
    section.size = size;
    size_t payloadSize = static_cast<size_t>(size) - 2;

    // Segments nothing reads (JFIF, APP1 other than EXIF such as XMP and its
    // extensions, comments after the first) are passed over unread: some
    // files carry megabytes of them before the picture. The signature
    // decides, so it is read first.
    unsigned char signature[4];
    size_t signatureSize = 0;
    if (marker == JpegMarker::App1) {
        signatureSize = payloadSize < sizeof signature ? payloadSize : sizeof signature;
        if (file.Read(signature, signatureSize) != signatureSize) {
            SetError("Premature end of file?");
            return false;
        }
    }
    unused = marker == JpegMarker::App0 || (marker == JpegMarker::Comment && commentSeen) ||
             (marker == JpegMarker::App1 &&
              (signatureSize < 4 || std::memcmp(signature, "Exif", 4) != 0));
    const size_t rest = payloadSize - signatureSize;
    // A buffer left here by an earlier failed read is replaced, not leaked.
    ReleaseData(section);
    // Only a frame header, the comment and the EXIF block are read; the
    // other segments kept are listed by marker and size.
    const bool read = JpegMarker::IsFrameHeader(marker) || marker == JpegMarker::Comment ||
                      marker == JpegMarker::App1;
    if (unused || !read) {
        if (file.Skip(rest) != rest) {
            SetError("Premature end of file?");
            return false;
        }
        return true;
    }

    // Bytes the file's source keeps in memory are pointed at, not copied.
    if (const unsigned char* kept = file.TakeKept(2 + signatureSize, static_cast<size_t>(size))) {
        section.data = kept;
        section.borrowed = true;
        return true;
    }
    unsigned char* bytes = new (std::nothrow) unsigned char[size];
    if (bytes == nullptr) {
        SetError("Could not allocate memory");
        return false;
    }
    section.data = bytes;
    bytes[0] = static_cast<unsigned char>(high);
    bytes[1] = static_cast<unsigned char>(low);
    std::memcpy(bytes + 2, signature, signatureSize);
    if (file.Read(bytes + 2 + signatureSize, rest) != rest) {
        SetError("Premature end of file?");
        return false;
    }
    return true;
}

CJpegExifReader::SectionOutcome CJpegExifReader::TakeSection(JpegSection& section,
                                                             bool& commentSeen) {
    const int marker = section.marker;
    const int size = section.size;
    if (JpegMarker::IsFrameHeader(marker)) {
        StoreFrameHeader(section.data, size, marker);
    } else if (marker == JpegMarker::StartOfScan) {
        return SectionOutcome::ScanReached;
    } else if (marker == JpegMarker::EndOfImage) {
        Print("No image in jpeg!\n");
        return SectionOutcome::End;
    } else if (marker == JpegMarker::App1) {
        // Only EXIF reaches here (see ReadSegment).
        summary->exifValid = ParseExifBlock(section.data + 2, size);
    } else if (marker == JpegMarker::Comment) {
        commentSeen = true;
        StoreComment(section.data, size);
    }
    return SectionOutcome::Keep;
}

void CJpegExifReader::StoreFrameHeader(const unsigned char* data, int size, int marker) {
    // A frame header too short to hold its size and component count is
    // malformed; nothing of it is stored.
    if (size < 8)
        return;
    summary->height = data[3] * 256 + data[4];
    summary->width = data[5] * 256 + data[6];
    summary->isColor = data[7] == 3 ? 1 : 0;
    summary->encodingProcess = marker;
}

void CJpegExifReader::StoreComment(const unsigned char* data, int size) {
    char text[kMaxCommentEnd];
    int end = size < kMaxCommentEnd ? size : kMaxCommentEnd;
    // Writers that store the comment as a C string leave its terminator (and
    // sometimes more zero padding) at the end: that is not text to show.
    while (end > 2 && data[end - 1] == 0)
        --end;
    int length = 0;
    for (int i = 2; i < end; ++i) {
        unsigned char c = data[i];
        if (c == '\r') {
            // A CR LF pair becomes the line feed alone.
            if (i + 1 < size && data[i + 1] == '\n')
                continue;
            text[length++] = '?';
        } else if (c == '\t' || c == '\n' || c >= 32) {
            text[length++] = static_cast<char>(c);
        } else {
            text[length++] = '?';
        }
    }
    text[length] = '\0';
    std::memset(summary->comment, 0, sizeof summary->comment);
    std::memcpy(summary->comment, text, static_cast<size_t>(length) + 1);
}
