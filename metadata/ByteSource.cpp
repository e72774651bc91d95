#include "metadata/ByteSource.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <new>

#include <sys/stat.h>
#include <unistd.h>

const char* ByteSource::FailureText() const {
    switch (m_failure) {
    case Failure::PastEnd:
        return "Offset past the end of the file";
    case Failure::CapReached:
        return "Metadata read limit reached";
    case Failure::Io:
        return "Read error";
    default:
        return "";
    }
}

bool ByteSource::Admit(uint64_t offset, size_t count) {
    const uint64_t size = Size();
    if (offset > size || count > size - offset) {
        Fail(Failure::PastEnd);
        return false;
    }
    if (count > m_cap - m_bytesRead) {
        Fail(Failure::CapReached);
        return false;
    }
    m_bytesRead += count;
    return true;
}

size_t ByteSource::ReadHead(unsigned char* out, size_t count) {
    const uint64_t size = Size();
    const size_t n = size < count ? static_cast<size_t>(size) : count;
    return n != 0 && ReadAt(0, out, n) ? n : 0;
}

bool ByteSource::Holds(uint64_t offset, uint64_t count) {
    const uint64_t size = Size();
    return offset <= size && count <= size - offset;
}

bool MemorySource::ReadAt(uint64_t offset, unsigned char* out, size_t count) {
    if (!Admit(offset, count))
        return false;
    if (count != 0)
        std::memcpy(out, m_data + offset, count);
    return true;
}

FileSource::FileSource(int fd, uint64_t size, uint64_t cap)
    : ByteSource(cap), m_fd(fd), m_size(size) {}

namespace {

// Each thread keeps the head of the last file it read for the next one: a
// walk over thousands of files would otherwise allocate and free 64 KiB for
// each.
thread_local std::unique_ptr<unsigned char[]> t_spareHead;

unsigned char* TakeHead() {
    if (t_spareHead)
        return t_spareHead.release();
    return new (std::nothrow) unsigned char[FileSource::kHeadSize];
}

void GiveBackHead(unsigned char* head) {
    if (head == nullptr)
        return;
    if (t_spareHead)
        delete[] head;
    else
        t_spareHead.reset(head);
}

} // namespace

FileSource::~FileSource() {
    GiveBackHead(m_head);
    delete[] m_window;
}

uint64_t FileSource::Size() const {
    if (m_size == kUnknownSize) {
        struct stat info;
        m_size = m_fd >= 0 && ::fstat(m_fd, &info) == 0 && info.st_size > 0
                     ? static_cast<uint64_t>(info.st_size)
                     : 0;
    }
    return m_size;
}

bool FileSource::Holds(uint64_t offset, uint64_t count) {
    if (!m_headTried)
        LoadHead();
    return EnsureInHead(offset, count) || ByteSource::Holds(offset, count);
}

bool FileSource::EnsureInHead(uint64_t offset, uint64_t count) {
    if (InHead(offset, count))
        return true;
    if (m_headWhole || m_head == nullptr || offset > kHeadSize || count > kHeadSize - offset)
        return false;
    GrowHead(offset + count);
    return InHead(offset, count);
}

void FileSource::GrowHead(uint64_t end) {
    // A little past the bytes asked for, so that the segments after a long
    // EXIF block come with it; at least twice the head, so that reads going
    // on from there cost few system calls.
    constexpr uint64_t kPage = 4096;
    const uint64_t past = (end + kPage + kPage - 1) / kPage * kPage;
    const size_t target = static_cast<size_t>(
        std::min<uint64_t>(std::max<uint64_t>(past, 2 * uint64_t(m_headSize)), kHeadSize));
    size_t want = target - m_headSize;
    if (m_size != kUnknownSize && m_size - m_headSize < want)
        want = static_cast<size_t>(m_size - m_headSize);
    // Past the cap, the head stays as it is; reads go on the usual way.
    if (want == 0 || !WithinCap(want)) {
        m_headWhole = true;
        return;
    }
    const size_t got = Fetch(m_headSize, m_head + m_headSize, want, 0);
    m_headSize += got;
    m_headWhole =
        got < want || m_headSize == kHeadSize || (m_size != kUnknownSize && m_headSize == m_size);
}

ssize_t FileSource::PreadOnce(uint64_t offset, unsigned char* out, size_t count) {
    ssize_t n;
    do {
        ++m_preads;
        n = ::pread(m_fd, out, count, static_cast<off_t>(offset));
    } while (n < 0 && errno == EINTR);
    if (n < 0)
        m_ioErrno = errno;
    return n;
}

bool FileSource::Pread(uint64_t offset, unsigned char* out, size_t count) {
    size_t done = 0;
    // Bounded: each round either makes progress or ends the read.
    while (done < count) {
        const ssize_t n = PreadOnce(offset + done, out + done, count - done);
        if (n <= 0) {
            if (n == 0)
                m_ioErrno = EIO;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

bool FileSource::LoadHead() {
    m_headTried = true;
    // A cap below the head's size (tests) wants exact sizes.
    const bool sizeKnown = m_size != kUnknownSize || !WithinCap(kHeadSize);
    const uint64_t size = sizeKnown ? Size() : kFirstRead;
    const size_t want = size < kFirstRead ? static_cast<size_t>(size) : kFirstRead;
    if (want == 0)
        return false;
    // The head counts against the cap like any read.
    if (sizeKnown ? !Admit(0, want) : !WithinCap(want))
        return false;
    m_head = TakeHead();
    bool failed = m_head == nullptr;
    size_t got = 0;
    if (!failed && sizeKnown) {
        failed = !Pread(0, m_head, want);
        got = failed ? 0 : want;
        m_headWhole = size <= want;
    } else if (!failed) {
        const ssize_t n = PreadOnce(0, m_head, want);
        if (n < 0) {
            failed = true;
        } else {
            got = static_cast<size_t>(n);
            // A regular file reads short only at its end: that is its size.
            if (got < want) {
                m_size = got;
                m_headWhole = true;
            }
        }
        Count(got);
    }
    if (failed || got == 0) {
        GiveBackHead(m_head);
        m_head = nullptr;
        if (failed)
            Fail(Failure::Io);
        return false;
    }
    m_headSize = got;
    return true;
}

bool FileSource::ReadHeld(uint64_t offset, unsigned char* out, size_t count) {
    const unsigned char* from = Held(offset, count);
    if (from == nullptr)
        return false;
    if (count != 0)
        std::memcpy(out, from, count);
    return true;
}

const unsigned char* FileSource::Kept(uint64_t offset, size_t count) {
    if (!m_headTried)
        LoadHead();
    return EnsureInHead(offset, count) ? m_head + offset : nullptr;
}

const unsigned char* FileSource::Held(uint64_t offset, size_t count) {
    if (const unsigned char* kept = Kept(offset, count))
        return kept;
    return InWindow(offset, count) ? m_window + (offset - m_windowStart) : nullptr;
}

size_t FileSource::Fetch(uint64_t offset, unsigned char* out, size_t count, size_t needed) {
    if (m_size != kUnknownSize) {
        if (!Admit(offset, count))
            return 0;
        if (!Pread(offset, out, count)) {
            Fail(Failure::Io);
            return 0;
        }
        return count;
    }
    if (!WithinCap(count)) {
        Fail(Failure::CapReached);
        return 0;
    }
    const ssize_t n = PreadOnce(offset, out, count);
    if (n < 0) {
        Fail(Failure::Io);
        return 0;
    }
    const size_t done = static_cast<size_t>(n);
    Count(done);
    // A regular file reads short only at its end: where it is, when the read
    // began inside the file.
    if (done < count && done > 0)
        m_size = offset + done;
    if (done < needed || done == 0) {
        Fail(Failure::PastEnd);
        return 0;
    }
    return done;
}

bool FileSource::ReadDirect(uint64_t offset, unsigned char* out, size_t count) {
    return Fetch(offset, out, count, count) == count;
}

bool FileSource::Read(uint64_t offset, unsigned char* out, size_t count, bool throughWindow) {
    if (!m_headTried)
        LoadHead();
    if (ReadHeld(offset, out, count))
        return true;
    // Past the head, an unknown size is learned from the read itself.
    if ((m_size != kUnknownSize || count == 0) && !ByteSource::Holds(offset, count)) {
        Fail(Failure::PastEnd);
        return false;
    }
    if (count == 0)
        return true;
    if (throughWindow && count <= kWindowSize / 4)
        return ReadThroughWindow(offset, out, count);
    return ReadDirect(offset, out, count);
}

size_t FileSource::ReadHead(unsigned char* out, size_t count) {
    if (!m_headTried)
        LoadHead();
    if (EnsureInHead(0, count)) {
        if (count != 0)
            std::memcpy(out, m_head, count);
        return count;
    }
    return ByteSource::ReadHead(out, count);
}

bool FileSource::ReadThroughWindow(uint64_t offset, unsigned char* out, size_t count) {
    // Range-checked by ReadAt when the size is known; else by the read.
    if (!InWindow(offset, count)) {
        if (m_window == nullptr) {
            m_window = new (std::nothrow) unsigned char[kWindowSize];
            if (m_window == nullptr) {
                Fail(Failure::Io);
                return false;
            }
        }
        // From the 4 KiB boundary below: a walk that steps back a little
        // (a directory's values just before it) stays inside. The read
        // still ends past offset + count, since count is at most 4 KiB.
        // The whole window counts against the cap, as the head does; near
        // the cap it starts at the read and shrinks, so that it refuses no
        // read the cap allows.
        const uint64_t allowed = Cap() - BytesRead();
        uint64_t start = offset & ~uint64_t{kWindowSize / 4 - 1};
        if (offset + count - start > allowed)
            start = offset;
        size_t want = kWindowSize;
        if (m_size != kUnknownSize && m_size - start < want)
            want = static_cast<size_t>(m_size - start);
        const uint64_t needed = offset + count - start;
        if (want > allowed)
            want = static_cast<size_t>(needed > allowed ? needed : allowed);
        m_windowSize = 0;
        const size_t got = Fetch(start, m_window, want, static_cast<size_t>(needed));
        if (got == 0)
            return false;
        m_windowStart = start;
        m_windowSize = got;
    }
    if (count != 0)
        std::memcpy(out, m_window + (offset - m_windowStart), count);
    return true;
}

SourceStream::SourceStream(ByteSource& source, uint64_t start, uint64_t length)
    : m_source(source), m_pos(start),
      m_end(length == kToEnd || length > UINT64_MAX - start ? UINT64_MAX : start + length) {}

void SourceStream::FillBuffer() {
    m_bufferStart = m_pos;
    m_bufferSize = 0;
    uint64_t n = sizeof m_buffer;
    if (n > m_end - m_pos)
        n = m_end - m_pos;
    if (!m_source.Holds(m_pos, n)) {
        const uint64_t size = m_source.Size();
        n = m_pos < size ? size - m_pos : 0;
        if (n > sizeof m_buffer)
            n = sizeof m_buffer;
    }
    if (n != 0 && m_source.ReadSparse(m_pos, m_buffer, static_cast<size_t>(n)))
        m_bufferSize = static_cast<size_t>(n);
}

int SourceStream::ReadByte() {
    if (m_pos >= m_end)
        return -1;
    if (!Buffered(1))
        FillBuffer();
    if (!Buffered(1))
        return -1;
    return m_buffer[m_pos++ - m_bufferStart];
}

size_t SourceStream::Read(unsigned char* out, size_t count) {
    if (m_pos >= m_end)
        return 0;
    const uint64_t left = m_end - m_pos;
    const size_t n = count < left ? count : static_cast<size_t>(left);
    if (n == 0)
        return 0;
    if (Buffered(n)) {
        std::memcpy(out, m_buffer + (m_pos - m_bufferStart), n);
        m_pos += n;
        return n;
    }
    if (m_source.ReadAt(m_pos, out, n)) {
        m_pos += n;
        return n;
    }
    // Fewer bytes are left in the file than asked for: hand over those.
    if (!m_source.Holds(m_pos, 1) || m_source.LastFailure() == ByteSource::Failure::Io)
        return 0;
    const uint64_t inFile = m_source.Size() - m_pos;
    if (inFile >= n || !m_source.ReadAt(m_pos, out, static_cast<size_t>(inFile)))
        return 0;
    m_pos += inFile;
    return static_cast<size_t>(inFile);
}

const unsigned char* SourceStream::TakeKept(size_t back, size_t count) {
    if (back > count || back > m_pos || count - back > m_end - m_pos)
        return nullptr;
    const unsigned char* kept = m_source.Kept(m_pos - back, count);
    if (kept != nullptr)
        m_pos += count - back;
    return kept;
}

size_t SourceStream::Skip(size_t count) {
    const uint64_t left = m_pos < m_end ? m_end - m_pos : 0;
    uint64_t n = count < left ? count : left;
    if (!m_source.Holds(m_pos, n)) {
        const uint64_t size = m_source.Size();
        n = m_pos < size ? size - m_pos : 0;
    }
    m_pos += n;
    return static_cast<size_t>(n);
}
