#pragma once

#include "metadata/ByteStream.h"

#include <cstddef>
#include <cstdint>

#include <sys/types.h>

// Random access to one file's bytes for the metadata readers. Every source
// counts the bytes it hands out and refuses reads past a cap, so that a file
// that lies about its offsets costs a bounded amount of work.
class ByteSource {
public:
    // Metadata of one file never needs more than this.
    static constexpr uint64_t kDefaultCap = 4u << 20;

    enum class Failure { None, PastEnd, CapReached, Io };

    virtual ~ByteSource() = default;
    virtual uint64_t Size() const = 0;
    // Reads exactly `count` bytes at `offset`; false when they are not all in
    // the file, when the cap would be exceeded, or on an I/O error (see
    // LastFailure). Nothing is counted for a refused read.
    virtual bool ReadAt(uint64_t offset, unsigned char* out, size_t count) = 0;
    // The same as ReadAt, for a read whose neighbours are not wanted: the
    // header of a chunk before a large payload. A file source reads just
    // these bytes instead of a window around them.
    virtual bool ReadSparse(uint64_t offset, unsigned char* out, size_t count) {
        return ReadAt(offset, out, count);
    }
    // Reads up to `count` bytes from the start of the file; returns how many
    // arrived (fewer only when the file is shorter or cannot be read).
    virtual size_t ReadHead(unsigned char* out, size_t count);
    // True when `count` bytes at `offset` are in the file, without reading
    // them.
    virtual bool Holds(uint64_t offset, uint64_t count);
    // The `count` bytes at `offset` where the source has them in memory
    // already (valid until its next read), for a caller that would copy
    // them anyway; null otherwise: ReadAt them.
    virtual const unsigned char* Held(uint64_t, size_t) { return nullptr; }
    // The same for bytes the source keeps in memory for as long as it lives
    // (a file's head), so that a reader may point into them instead of
    // copying them; null otherwise.
    virtual const unsigned char* Kept(uint64_t, size_t) { return nullptr; }

    uint64_t BytesRead() const { return m_bytesRead; }
    uint64_t Cap() const { return m_cap; }
    Failure LastFailure() const { return m_failure; }
    // A short English text for the last failure.
    const char* FailureText() const;

protected:
    explicit ByteSource(uint64_t cap) : m_cap(cap) {}
    // Checks range and cap; on success counts `count` bytes.
    bool Admit(uint64_t offset, size_t count);
    // The cap alone, for a read whose length is learned by making it.
    bool WithinCap(size_t count) const { return count <= m_cap - m_bytesRead; }
    void Count(size_t count) { m_bytesRead += count; }
    void Fail(Failure failure) { m_failure = failure; }

private:
    uint64_t m_cap;
    uint64_t m_bytesRead = 0;
    Failure m_failure = Failure::None;
};

// Bytes in memory (tests, the fuzzer); the bytes must outlive the source.
class MemorySource final : public ByteSource {
public:
    MemorySource(const unsigned char* data, size_t size, uint64_t cap = kDefaultCap)
        : ByteSource(cap), m_data(data), m_size(size) {}
    uint64_t Size() const override { return m_size; }
    bool ReadAt(uint64_t offset, unsigned char* out, size_t count) override;

private:
    const unsigned char* m_data;
    size_t m_size;
};

// An open file descriptor, read with pread only (no stdio buffering); it is
// not closed here. The file's first 64 KiB, its head, are read in steps:
// the first 16 KiB, which hold most JPEG headers whole, then more when a
// read goes past what is held (twice as much, or to a little beyond the
// bytes asked for); later reads inside the head are served from it, so a
// typical JPEG header costs one system call, and copying 64 KiB where 16 or
// 24 suffice is spared. Beyond it, a small read fetches the 16 KiB
// from its offset on and later reads inside those are served from there (a
// TIFF's directories and values, a PNG's chunk headers lie near each other);
// large reads go to the file as asked.
//
// The size need not be known beforehand: a read that comes back short
// tells it (a head shorter than 64 KiB, a read past the head that meets the
// file's end), and the descriptor is asked (fstat) only when a walker asks
// for the size itself, so reading a file's metadata usually costs open, its
// preads and close.
class FileSource final : public ByteSource {
public:
    static constexpr size_t kHeadSize = 64 * 1024;
    static constexpr size_t kFirstRead = 16 * 1024;
    static constexpr size_t kWindowSize = 16 * 1024;
    static constexpr uint64_t kUnknownSize = UINT64_MAX;

    // `size`: what the caller has just learned from the same descriptor, or
    // kUnknownSize. (No form takes a cap alone: a size passed for a cap would
    // silently bound the reads by the file's size.)
    explicit FileSource(int fd, uint64_t size = kUnknownSize, uint64_t cap = kDefaultCap);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    uint64_t Size() const override;
    bool ReadAt(uint64_t offset, unsigned char* out, size_t count) override {
        return Read(offset, out, count, true);
    }
    bool ReadSparse(uint64_t offset, unsigned char* out, size_t count) override {
        return Read(offset, out, count, false);
    }
    size_t ReadHead(unsigned char* out, size_t count) override;
    bool Holds(uint64_t offset, uint64_t count) override;
    const unsigned char* Held(uint64_t offset, size_t count) override;
    const unsigned char* Kept(uint64_t offset, size_t count) override;
    int PreadCount() const { return m_preads; }
    // The error of a failed read (Failure::Io): errno, or EIO when the file
    // ended before its size said.
    int IoErrno() const { return m_ioErrno; }

private:
    bool LoadHead();
    bool ReadThroughWindow(uint64_t offset, unsigned char* out, size_t count);
    // One pread (again when interrupted); -1 with IoErrno() set on failure.
    ssize_t PreadOnce(uint64_t offset, unsigned char* out, size_t count);
    bool Pread(uint64_t offset, unsigned char* out, size_t count);

    bool InHead(uint64_t offset, uint64_t count) const {
        return m_head != nullptr && offset <= m_headSize && count <= m_headSize - offset;
    }
    // InHead, after growing the head when the bytes lie within its 64 KiB.
    bool EnsureInHead(uint64_t offset, uint64_t count);
    void GrowHead(uint64_t end);
    bool InWindow(uint64_t offset, uint64_t count) const {
        return m_window != nullptr && offset >= m_windowStart &&
               offset - m_windowStart <= m_windowSize &&
               count <= m_windowSize - (offset - m_windowStart);
    }
    // A read from what is held, else from the file: a small one through the
    // window when `throughWindow`, else just the bytes asked for.
    bool Read(uint64_t offset, unsigned char* out, size_t count, bool throughWindow);
    // Copies from the head or the window when they hold the bytes.
    bool ReadHeld(uint64_t offset, unsigned char* out, size_t count);
    // Reads `count` bytes at `offset`, of which the first `needed` must
    // arrive; returns how many did, 0 on failure. With the size known a short
    // read is an I/O error (the file shrank); with it unknown it is the end
    // of the file, which then tells the size.
    size_t Fetch(uint64_t offset, unsigned char* out, size_t count, size_t needed);
    // Range, cap and the read itself, straight from the file.
    bool ReadDirect(uint64_t offset, unsigned char* out, size_t count);

    int m_fd;
    // Learned on demand; a descriptor that cannot tell its size has none.
    mutable uint64_t m_size;
    unsigned char* m_head = nullptr;
    size_t m_headSize = 0;
    bool m_headTried = false;
    bool m_headWhole = false; // nothing more to read into the head
    unsigned char* m_window = nullptr;
    uint64_t m_windowStart = 0;
    size_t m_windowSize = 0;
    int m_preads = 0;
    int m_ioErrno = 0;
};

// A sequential stream over a source from `start`, at most `length` bytes
// (kToEnd: to the end of the file, whatever its size), for the JPEG section
// reader (also for a JPEG embedded in another file).
class SourceStream final : public ByteStream {
public:
    static constexpr uint64_t kToEnd = UINT64_MAX;

    SourceStream(ByteSource& source, uint64_t start, uint64_t length);
    int ReadByte() override;
    size_t Read(unsigned char* out, size_t count) override;
    size_t Skip(size_t count) override;
    const unsigned char* TakeKept(size_t back, size_t count) override;

private:
    // A segment's marker, length and signature come from one sparse read of
    // the bytes at the position, so that segments passed over cost no
    // window each.
    bool Buffered(size_t count) const {
        return m_pos >= m_bufferStart && m_pos - m_bufferStart <= m_bufferSize &&
               count <= m_bufferSize - (m_pos - m_bufferStart);
    }
    void FillBuffer();

    ByteSource& m_source;
    uint64_t m_pos;
    uint64_t m_end;
    unsigned char m_buffer[64];
    uint64_t m_bufferStart = 0;
    size_t m_bufferSize = 0;
};
