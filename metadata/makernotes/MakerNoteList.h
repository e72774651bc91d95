#pragma once

#include "metadata/makernotes/MakerNoteFrame.h"
#include "metadata/tags/MetadataEntry.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The entries of one maker note, gathered before they join the file's list
// so that the summary (known only once the note is read) comes first in
// the maker's group.
class MakerNoteList {
public:
    // Entries per note: the largest real notes give a few hundred.
    static constexpr size_t kMaxEntries = 1500;
    // Entries read from one directory of a note.
    static constexpr uint32_t kMaxDirectoryEntries = 512;
    static constexpr size_t kUsualEntries = 256;

    // What the list keeps: every entry, or the lens alone (for a caller
    // that wants only the lens): the entries read for it are dropped at
    // once, and readers pass over those that cannot name it.
    enum class Keep { Everything, Lens };

    explicit MakerNoteList(std::string group, Keep keep = Keep::Everything)
        : m_group(std::move(group)), m_keep(keep) {}

    const std::string& Group() const { return m_group; }
    // Only the Lens summary row is wanted (Keep::Lens).
    bool LensOnly() const { return m_keep == Keep::Lens; }

    // A new entry of `group` (the note's own unless given), or nullptr once
    // the note has kMaxEntries. The pointer holds until the next Add (with
    // Keep::Lens it is the one scratch entry, emptied by each Add). The
    // name is kept as a view: a table's or a literal, never a temporary
    // (give those to the entry's name afterwards).
    MetadataEntry* Add(int32_t id, std::string_view constantName, uint16_t type, uint32_t count);
    MetadataEntry* Add(const std::string& group, int32_t id, std::string_view constantName,
                       uint16_t type, uint32_t count);
    // Add for a directory entry: named `known` (a table's), "Tag0x0012" when
    // that is empty.
    MetadataEntry* AddTag(uint16_t tag, std::string_view known, uint16_t type, uint32_t count);
    bool Full() const { return m_added >= kMaxEntries; }
    // The entries added, kept or not.
    size_t Size() const { return m_added; }
    // The entries kept: none with Keep::Lens.
    const std::vector<MetadataEntry>& Entries() const { return m_entries; }

    // The summary rows, in this order whatever order they are set in; an
    // empty text leaves the row out.
    enum class Summary { Lens, LensSerialNumber, SerialNumber, ShutterCount, FirmwareVersion };
    void SetSummary(Summary row, std::string text);
    void SetSummaryNumber(Summary row, double number);
    // The row's text as set; empty when it was not, or set as a number.
    std::string_view SummaryText(Summary row) const;

    // Moves the summary, then the entries, into `out` (within its cap).
    // False when the note gave no entry.
    bool MoveInto(MetadataCollector& out);

private:
    std::string m_group;
    Keep m_keep;
    size_t m_added = 0;
    std::vector<MetadataEntry> m_entries;
    MetadataEntry m_scratch;
    MetadataValue m_summary[5];
};

// The entry's value from its bytes, as the EXIF walk reads values: numbers,
// text for ASCII and printable UNDEFINED, else the first bytes. Its text is
// the raw text.
void FillFromValue(const TiffValue& value, uint32_t count, MetadataEntry& entry);

// FillFromValue when the value was located (`fault` None: true), else the
// entry's text says why it has none: "(unknown type 14)", "(value outside
// the maker note)".
bool FillOrNoteFault(TiffValueFault fault, const TiffValue& value, const TiffEntry& tiffEntry,
                     MetadataEntry& entry);

// Lists the entries of a plain directory in the note: ids, types, values;
// names from `nameOf` (may return empty: "Tag0x0012" then). Returns how many
// entries were listed.
using MakerTagName = std::string_view (*)(uint16_t tag);
uint32_t ListPlainDirectory(const MakerNoteFrame& frame, const TiffDirectory& directory,
                            MakerTagName nameOf, MakerNoteList& list);

// How many of a directory's entries a note lists: those that fit in the
// note, at most kMaxDirectoryEntries.
uint32_t ListedCount(const TiffDirectory& directory);

// The entry's value made one number (its text is the caller's to set), or
// a text (the entry's text the same).
void SetEntryNumber(MetadataEntry& e, double v);
void SetEntryText(MetadataEntry& e, std::string text);

// "Tag0x0012" for a tag with no name.
std::string MakerTagId(uint16_t tag);
