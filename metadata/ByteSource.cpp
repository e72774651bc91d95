#include "metadata/ByteSource.h"

#include <cerrno>
#include <cstring>
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

bool MemorySource::ReadAt(uint64_t offset, unsigned char* out, size_t count) {
    if (!Admit(offset, count))
        return false;
    if (count != 0)
        std::memcpy(out, m_data + offset, count);
    return true;
}

FileSource::FileSource(int fd) : ByteSource(kDefaultCap), m_fd(fd) {
    struct stat info;
    if (fd >= 0 && ::fstat(fd, &info) == 0 && info.st_size > 0)
        m_size = static_cast<uint64_t>(info.st_size);
}

FileSource::FileSource(int fd, uint64_t size, uint64_t cap)
    : ByteSource(cap), m_fd(fd), m_size(size) {}

FileSource::~FileSource() {
    delete[] m_head;
    delete[] m_window;
}

bool FileSource::Pread(uint64_t offset, unsigned char* out, size_t count) {
    size_t done = 0;
    // Bounded: each round either makes progress or ends the read.
    while (done < count) {
        ++m_preads;
        const ssize_t n =
            ::pread(m_fd, out + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_ioErrno = n < 0 ? errno : EIO;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

bool FileSource::LoadHead() {
    m_headTried = true;
    const size_t want = m_size < kHeadSize ? static_cast<size_t>(m_size) : kHeadSize;
    if (want == 0)
        return false;
    // The head counts against the cap like any read.
    if (!Admit(0, want))
        return false;
    m_head = new (std::nothrow) unsigned char[want];
    if (m_head == nullptr || !Pread(0, m_head, want)) {
        delete[] m_head;
        m_head = nullptr;
        Fail(Failure::Io);
        return false;
    }
    m_headSize = want;
    return true;
}

bool FileSource::ReadAt(uint64_t offset, unsigned char* out, size_t count) {
    if (offset > m_size || count > m_size - offset) {
        Fail(Failure::PastEnd);
        return false;
    }
    if (!m_headTried)
        LoadHead();
    if (m_head != nullptr && offset + count <= m_headSize) {
        if (count != 0)
            std::memcpy(out, m_head + offset, count);
        return true;
    }
    if (count <= kWindowSize / 4)
        return ReadThroughWindow(offset, out, count);
    if (!Admit(offset, count))
        return false;
    if (!Pread(offset, out, count)) {
        Fail(Failure::Io);
        return false;
    }
    return true;
}

bool FileSource::ReadThroughWindow(uint64_t offset, unsigned char* out, size_t count) {
    // Range-checked by ReadAt: offset + count <= m_size.
    if (m_window == nullptr || offset < m_windowStart ||
        offset + count > m_windowStart + m_windowSize) {
        if (m_window == nullptr) {
            m_window = new (std::nothrow) unsigned char[kWindowSize];
            if (m_window == nullptr) {
                Fail(Failure::Io);
                return false;
            }
        }
        const uint64_t left = m_size - offset;
        size_t want = left < kWindowSize ? static_cast<size_t>(left) : kWindowSize;
        // The whole window counts against the cap, as the head does; near
        // the cap it shrinks, so that it refuses no read the cap allows.
        const uint64_t allowed = Cap() - BytesRead();
        if (want > allowed)
            want = count > allowed ? count : static_cast<size_t>(allowed);
        if (!Admit(offset, want))
            return false;
        m_windowSize = 0;
        if (!Pread(offset, m_window, want)) {
            Fail(Failure::Io);
            return false;
        }
        m_windowStart = offset;
        m_windowSize = want;
    }
    if (count != 0)
        std::memcpy(out, m_window + (offset - m_windowStart), count);
    return true;
}

SourceStream::SourceStream(ByteSource& source, uint64_t start, uint64_t length)
    : m_source(source), m_pos(start) {
    const uint64_t size = source.Size();
    const uint64_t from = start < size ? start : size;
    m_end = length < size - from ? from + length : size;
}

int SourceStream::ReadByte() {
    unsigned char byte;
    if (m_pos >= m_end || !m_source.ReadAt(m_pos, &byte, 1))
        return -1;
    ++m_pos;
    return byte;
}

size_t SourceStream::Read(unsigned char* out, size_t count) {
    if (m_pos >= m_end)
        return 0;
    const uint64_t left = m_end - m_pos;
    const size_t n = count < left ? count : static_cast<size_t>(left);
    if (n == 0 || !m_source.ReadAt(m_pos, out, n))
        return 0;
    m_pos += n;
    return n;
}
