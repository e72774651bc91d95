#include "metadata/ByteStream.h"

#include <cstring>

size_t ByteStream::Skip(size_t count) {
    unsigned char scratch[4096];
    size_t done = 0;
    // Bounded: each round passes over bytes or ends.
    while (done < count) {
        const size_t want = count - done < sizeof scratch ? count - done : sizeof scratch;
        const size_t n = Read(scratch, want);
        done += n;
        if (n < want)
            break;
    }
    return done;
}

int MemoryStream::ReadByte() {
    if (m_pos >= m_size)
        return -1;
    return m_data[m_pos++];
}

size_t MemoryStream::Read(unsigned char* out, size_t count) {
    size_t left = m_size - m_pos;
    size_t n = count < left ? count : left;
    if (n == 0)
        return 0;
    std::memcpy(out, m_data + m_pos, n);
    m_pos += n;
    return n;
}

int FileStream::ReadByte() {
    if (m_file == nullptr)
        return -1;
    int c = std::fgetc(m_file);
    return c == EOF ? -1 : c;
}

size_t FileStream::Read(unsigned char* out, size_t count) {
    if (m_file == nullptr || count == 0)
        return 0;
    return std::fread(out, 1, count, m_file);
}
