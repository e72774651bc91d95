#pragma once

#include <cstdint>

// The bounds every reader of a TIFF structure keeps, so that a file whose
// directories link to themselves, to each other or ever deeper costs a
// bounded amount of work and every pane reads the same directories.
struct TiffLimits {
    // Directories walked in one structure, of any kind. Cameras write a
    // dozen at most (IFD0..3, EXIF, GPS, Interop, a few SubIFDs).
    static constexpr int kMaxDirectories = 32;
    // Links followed within links from the first directory; ordinary files
    // nest three deep. A directory at this depth or deeper is not walked.
    static constexpr int kMaxDepth = 8;

    static bool TooDeep(int depth) { return depth >= kMaxDepth; }
};

// The directories of one structure already walked, by offset, in the order
// they were entered (a reader may keep its own list in the same order).
class VisitedDirectories {
public:
    enum class Entered { New, Seen, Full };

    // Records `offset` unless it is there already or the set is full.
    Entered Enter(uint64_t offset) {
        if (IndexOf(offset) >= 0)
            return Entered::Seen;
        if (m_count == TiffLimits::kMaxDirectories)
            return Entered::Full;
        m_offsets[m_count++] = offset;
        return Entered::New;
    }
    // Its place in the order entered; -1 when it was not entered.
    int IndexOf(uint64_t offset) const {
        for (int i = 0; i < m_count; ++i) {
            if (m_offsets[i] == offset)
                return i;
        }
        return -1;
    }
    int Count() const { return m_count; }
    void Clear() { m_count = 0; }

private:
    uint64_t m_offsets[TiffLimits::kMaxDirectories];
    int m_count = 0;
};
