#pragma once

#include <cstddef>
#include <cstdio>

// What the reader needs of an open file: single-byte and block reads.
class ByteStream {
public:
    virtual ~ByteStream() = default;
    // The next byte (0..255), or -1 at the end of the stream.
    virtual int ReadByte() = 0;
    // Reads up to `count` bytes into `out`; returns how many arrived.
    virtual size_t Read(unsigned char* out, size_t count) = 0;
    // Passes over up to `count` bytes; returns how many there were. Streams
    // that can seek do so without reading.
    virtual size_t Skip(size_t count);
    // Where the stream's source keeps its bytes in memory for as long as it
    // lives: the `count` bytes that start `back` bytes before the position
    // (bytes just read, then those that follow), the position moving to
    // their end. Null, the position unmoved, when they are not kept so.
    virtual const unsigned char* TakeKept(size_t back, size_t count) {
        (void)back;
        (void)count;
        return nullptr;
    }
};

// A stream over bytes in memory; the bytes must outlive the stream.
class MemoryStream final : public ByteStream {
public:
    MemoryStream(const unsigned char* data, size_t size) : m_data(data), m_size(size) {}
    int ReadByte() override;
    size_t Read(unsigned char* out, size_t count) override;

private:
    const unsigned char* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// A stream over a C runtime file opened in binary mode; does not close it.
class FileStream final : public ByteStream {
public:
    explicit FileStream(std::FILE* file) : m_file(file) {}
    int ReadByte() override;
    size_t Read(unsigned char* out, size_t count) override;

private:
    std::FILE* m_file;
};
