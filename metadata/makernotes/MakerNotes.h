#pragma once

#include "metadata/tags/MetadataEntry.h"
#include "metadata/tiff/TiffDirectory.h"
#include "metadata/tiff/TiffHeader.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Cameras keep a record of their own in the EXIF directory's MakerNote
// (0x927C): lens, serial numbers, focus and drive modes, firmware. This is
// the one way in: the maker is told by the note's signature and IFD0's
// Make, and the maker's reader lists the note's entries under the maker's
// group ("Canon", "Apple", "CanonCustom"): first a short summary (Lens,
// LensSerialNumber, SerialNumber, ShutterCount, FirmwareVersion: those the
// note records, with id -1), then every entry with the maker's id.

// Where a maker note lies.
struct MakerNoteSource {
    // The TIFF structure holding the note, from its byte-order mark on
    // (origin 0), in its byte order.
    TiffSpan block;
    size_t position = 0; // the note's first byte in the block
    size_t length = 0;
    // Where the note stood as offsets from the structure's TIFF header
    // count: `position`, unless the block is a compact copy of directories
    // gathered from a file. Makers whose offsets count from the TIFF header
    // (Canon) read their values through it.
    uint64_t storedOffset = 0;
    std::string_view make; // IFD0's Make, as the collector saw it
};

// Lists the note's entries in `out`. False when its layout is not known
// or nothing in it could be read: nothing is listed then, and the EXIF
// directory's entry with its size stays the note's one line. Never reads
// outside the note's bytes.
bool ReadMakerNote(const MakerNoteSource& note, MetadataCollector& out);

// Canon CR3 keeps its maker note in a box of its own (CMT3): a TIFF
// structure whose first directory is the Canon directory, its offsets
// counting from that structure's header.
bool ReadCanonMakerNoteStructure(const unsigned char* data, size_t size, MetadataCollector& out);

// DNG converters keep the original maker note in IFD0's DNGPrivateData
// (0xC634): "Adobe\0", then a "MakN" record with its length, the note's
// byte order and its offset in the original file, then the note itself.
// `position` and `length` give the private data in the block.
bool ReadDngMakerNote(const TiffSpan& block, size_t position, size_t length, std::string_view make,
                      MetadataCollector& out);

// The lens the maker note of one TIFF structure names (its summary's Lens),
// for a caller that wants nothing else: the note is found from the block's
// header (the EXIF directory's MakerNote, else IFD0's DNGPrivateData; the
// first directory is the EXIF directory when `role` says so) and read as
// the every-tag walk reads it. Empty without a note or a lens in it.
std::string MakerNoteLens(const unsigned char* data, size_t size, TiffRole role,
                          std::string_view make);
