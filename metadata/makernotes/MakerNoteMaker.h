#pragma once

#include <cstddef>
#include <string_view>

// Which maker wrote a maker note, told by the note's own signature first
// and IFD0's Make second, and the group its entries are listed under.
enum class MakerNoteLayout : unsigned char {
    Unknown,  // not read: the note stays one line
    Canon,    // plain directory, offsets from the TIFF header, binary records
    Apple,    // "Apple iOS\0" header
    Plain,    // a maker whose note is a standard directory (Casio, Minolta, ...)
    Nikon,    // "Nikon\0" and its own TIFF header (read by a later reader)
    Olympus,  // "OLYMP\0", "OLYMPUS\0II", "OM SYSTEM" (later)
    Fujifilm, // "FUJIFILM", offsets from the note (later)
    Panasonic,
    Pentax,
    Sony,
    Samsung,
};

struct MakerNoteKind {
    MakerNoteLayout layout = MakerNoteLayout::Unknown;
    std::string_view group; // "Canon", "Apple", "Casio"; empty when unknown
    size_t directoryAt = 0; // for Plain: where the directory starts in the note
};

MakerNoteKind IdentifyMakerNote(const unsigned char* note, size_t size, std::string_view make);
