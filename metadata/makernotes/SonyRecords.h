#pragma once

#include "metadata/makernotes/MakerNoteList.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The fields of Sony's binary records (0x3000 ShotInfo, 0x202A, and the
// enciphered 0x2010, 0x9050 and 0x94xx once deciphered): each lies at a
// byte index, and is listed with that index as its id.

enum class SonyFormat : uint8_t { U8, S8, U16, S16, U32, S32, Text, Bytes, Ratio16, Ratio32 };

struct SonyField {
    uint16_t index;
    std::string_view name;
    SonyFormat format;
    uint16_t count;
};

struct SonyFieldTable {
    const SonyField* fields = nullptr;
    size_t size = 0;
};

// Which layout a record has: Sony changed them from one camera generation
// to the next. `modelId` is the note's SonyModelID (0xB001), 0 when absent;
// `first` the record's first deciphered byte. Empty when not known.
enum class SonyRecordKind : uint8_t {
    ShotInfo,
    FocalPlaneAF,
    R2010,
    R9050,
    R9400,
    R9402,
    R9403,
    R9404,
    R9405,
    R9406,
    R940C,
    R940E,
    R9416,
    AFStatus15,
    AFStatus19
};
SonyFieldTable SonyRecordFields(SonyRecordKind kind, uint32_t modelId, unsigned char first);

// What the summary and the lens name need from the records.
struct SonyRecordFacts {
    uint32_t shutterCount = 0;
    bool hasShutterCount = false;
    uint32_t lensType = 0; // A-mount, from a record (the main 0xB027 is read elsewhere)
    uint32_t lensType2 = 0;
    double focalLength = 0, minFocal = 0, maxFocal = 0;
};

// Lists the table's fields that lie wholly in `data` (little or big-endian
// as the note), converting the numbers Sony stores in its own units.
// Returns how many were listed.
uint32_t ListSonyRecord(const unsigned char* data, size_t size, TiffByteOrder order,
                        SonyFieldTable table, MakerNoteList& list, SonyRecordFacts& facts);
