#pragma once

#include "metadata/tags/EntryName.h"
#include "metadata/tags/InlineList.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One listed metadata entry, the same shape for EXIF (TIFF) directories, XMP
// properties and IPTC datasets, so one list can hold a file's every tag.

// A rational component as written, for the raw text.
struct MetadataFraction {
    int64_t num = 0;
    int64_t den = 0;
};

struct MetadataValue {
    enum class Kind : uint8_t {
        None,    // nothing to show as a value (unknown type, value outside its block)
        Numbers, // `numbers`, one per component (a rational as its quotient)
        Text,    // `text`: ASCII without trailing zeros, printable UNDEFINED, XMP, IPTC
        Bytes,   // `bytes`: the first kMaxKeptBytes of a binary value
    };
    static constexpr size_t kMaxKeptNumbers = 256;
    static constexpr size_t kMaxKeptBytes = 64;

    Kind kind = Kind::None;
    // At most kMaxKeptNumbers components; the entry's count says how many
    // were written. Division by zero and FLOAT/DOUBLE may give non-finite
    // components, which have no JSON number: write null for them.
    InlineList<double, 4> numbers;
    InlineList<MetadataFraction, 4> fractions; // beside `numbers` for (S)RATIONAL
    std::string text;                          // UTF-8
    std::vector<uint8_t> bytes;
    bool truncated = false; // fewer components or bytes kept than written

    // The JSON shape the command line writes: a number for one component, a
    // list for several, a string for text, else null.
    bool IsSingleNumber() const { return kind == Kind::Numbers && numbers.size() == 1; }
    // None again, the lists and the text keeping their room.
    void Clear() {
        kind = Kind::None;
        numbers.clear();
        fractions.clear();
        text.clear();
        bytes.clear();
        truncated = false;
    }
};

struct MetadataEntry {
    // Written out so that a new entry is not zeroed whole before its
    // members are set (as a value-initialized aggregate is): the lists'
    // inline room stays unset until used.
    MetadataEntry() {}

    std::string group; // "IFD0", "ExifIFD", "GPS", "InteropIFD", "IFD1", "SubIFD", "XMP-dc", "IPTC"
    int32_t id = -1;   // the TIFF tag; -1 for XMP and IPTC
    EntryName name;    // "ExposureTime", "Tag0x9A01", "dc:subject[1]", "Keywords"
    uint16_t type = 0; // TIFF field type 1..12 (13 = IFD); 0 for XMP and IPTC
    uint32_t count = 0; // components as written; bytes for IPTC; 1 for XMP
    MetadataValue value;
    std::string text; // for people: "1/250 s", "f/3.5", "Auto white balance"
    // The value as written when `value` cannot give it: a block's size
    // "(23412 bytes)", IPTC's "ESC % G". Empty otherwise, which is the usual
    // case: RawText (TagText.h) builds "1/250", "72 72", "0232" from `value`
    // when someone asks, so the walk does not build a text nobody reads.
    std::string rawOverride;
};

// Gathers the entries of one file from any number of blocks, up to a cap on
// the total, and the problems met on the way (also capped).
class MetadataCollector {
public:
    static constexpr size_t kMaxEntries = 10000;
    static constexpr size_t kMaxNotes = 100;

    explicit MetadataCollector(size_t maxEntries = kMaxEntries) : m_maxEntries(maxEntries) {}

    // False (and the entry dropped) once the cap is reached.
    bool Add(MetadataEntry&& entry);
    // Moves `entries` to the end of the list at once (within the cap); false
    // when some were dropped.
    bool AddAll(std::vector<MetadataEntry>&& entries);
    // A new empty entry at the end of the list to fill in place, or nullptr
    // (and nothing added) once the cap is reached.
    MetadataEntry* Append();
    // Room for `count` entries in all, so that the list does not move its
    // entries while growing.
    void Reserve(size_t count) { m_entries.reserve(count < m_maxEntries ? count : m_maxEntries); }
    bool Full() const { return m_entries.size() >= m_maxEntries; }
    // For readers that stop at Full() with entries left unread.
    void MarkTruncated();
    // A problem in the input: "GPS pointer 0x1234 outside the block".
    void Note(std::string note);

    // How far the list has come, for a reader that starts a block over.
    struct Mark {
        size_t entries;
        size_t notes;
        bool truncated;
    };
    Mark Marked() const { return {m_entries.size(), m_notes.size(), m_truncated}; }
    // Forgets what came after `mark`.
    void RollBack(const Mark& mark);

    const std::vector<MetadataEntry>& Entries() const { return m_entries; }
    std::vector<MetadataEntry>& Entries() { return m_entries; }
    const std::vector<std::string>& Notes() const { return m_notes; }
    bool Truncated() const { return m_truncated; } // entries were dropped at the cap

    // The camera maker from IFD0's Make, once seen, for the maker note's text
    // (a CR3 file brings IFD0 and the EXIF directory in separate blocks).
    const std::string& CameraMake() const { return m_make; }
    void SetCameraMake(std::string make) { m_make = std::move(make); }

private:
    size_t m_maxEntries;
    std::vector<MetadataEntry> m_entries;
    std::vector<std::string> m_notes;
    bool m_truncated = false;
    std::string m_make;
};

// The name people see for a group: IFD0 → "Image", ExifIFD → "Exif", GPS →
// "GPS", InteropIFD → "Interoperability", IFD1 → "Thumbnail", SubIFD... →
// "SubIFD", XMP-... → "XMP", IPTC → "IPTC"; anything else as it is.
std::string GroupDisplayName(const std::string& group);
