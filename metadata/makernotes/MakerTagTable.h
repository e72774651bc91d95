#pragma once

#include "metadata/makernotes/MakerNoteList.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The names of a maker's directory entries and what the numbers of its
// enumerated fields mean, for makers whose note is one directory listed as
// it stands (Fujifilm, Panasonic, Pentax, Samsung).

struct MakerValueText {
    int64_t value;
    std::string_view text;
};

// How a field's value is read where its type alone does not say.
enum class MakerForm : uint8_t {
    AsWritten,
    Text,       // UNDEFINED bytes that are text, up to the first zero
    Numbers,    // UNDEFINED bytes that are small numbers (a version 0 1 0 0)
    Hundredths, // a count of hundredths: 63308 is 633.08
};

struct MakerTag {
    uint16_t tag;
    std::string_view name;
    std::span<const MakerValueText> texts; // empty: the value's own text
    MakerForm form = MakerForm::AsWritten;
};

using MakerTagTable = std::span<const MakerTag>;

// The row of `tag`; nullptr when the table does not know it.
const MakerTag* FindMakerTag(MakerTagTable table, uint16_t tag);

// What `value` of a field means; empty when the row does not say.
std::string_view MakerValueMeaning(const MakerTag& row, double value);

// Lists every entry of the directory: named from the table ("Tag0x...."
// otherwise), an enumerated single number with its meaning as its text.
// The entries `summary` names give the summary rows: a text as it stands
// (trailing spaces dropped), several numbers joined by dots (firmware
// bytes), one number as it is; an entry given a readable text (a meaning,
// a lens name) gives that text. `textOf`, when given, may give an entry's
// readable text (empty: keep the value's). Returns how many entries were
// listed.
using MakerEntryText = std::string (*)(const MetadataEntry& entry);
struct MakerSummaryTag {
    uint16_t tag;
    MakerNoteList::Summary row;
};
uint32_t ListTableDirectory(const MakerNoteFrame& frame, const TiffDirectory& directory,
                            MakerTagTable table, std::span<const MakerSummaryTag> summary,
                            MakerNoteList& list, MakerEntryText textOf = nullptr);

// A directory at `directoryAt` in the note that a camera could have written:
// a count from 1 to 256 and every entry inside the note.
bool PlausibleNoteDirectory(const TiffDirectory& directory);

// Makers whose offsets count from the TIFF header write that way, but
// software that moved the note often leaves them counting from where the
// note stood, and a block gathered from a file's directories holds the
// note elsewhere: the frame (base `storedOffset`, 0, or where the lowest
// value offset says the note stood) that puts the most of the directory's
// values inside the note, `storedOffset` on a tie.
MakerNoteFrame FrameWithValuesInside(const unsigned char* note, size_t size, TiffByteOrder order,
                                     uint64_t storedOffset, uint64_t directoryAt);
