#include "metadata/makernotes/MakerNoteMaker.h"

#include <cctype>
#include <cstring>

namespace {

bool StartsWith(const unsigned char* data, size_t size, std::string_view prefix) {
    return size >= prefix.size() && std::memcmp(data, prefix.data(), prefix.size()) == 0;
}

// Make starts with `prefix`, letter case aside.
bool MakeIs(std::string_view make, std::string_view prefix) {
    if (make.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(make[i])) != prefix[i])
            return false;
    }
    return true;
}

struct Signature {
    std::string_view bytes;
    MakerNoteLayout layout;
    std::string_view group;
};

constexpr Signature kSignatures[] = {
    {{"Apple iOS\0", 10}, MakerNoteLayout::Apple, "Apple"},
    {{"Nikon\0", 6}, MakerNoteLayout::Nikon, "Nikon"},
    {{"OLYMP\0", 6}, MakerNoteLayout::Olympus, "Olympus"},
    {{"OLYMPUS\0", 8}, MakerNoteLayout::Olympus, "Olympus"},
    {"OM SYSTEM", MakerNoteLayout::Olympus, "Olympus"},
    {"FUJIFILM", MakerNoteLayout::Fujifilm, "FujiFilm"},
    {{"Panasonic\0", 10}, MakerNoteLayout::Panasonic, "Panasonic"},
    {{"AOC\0", 4}, MakerNoteLayout::Pentax, "Pentax"},
    {"PENTAX ", MakerNoteLayout::Pentax, "Pentax"},
    {"SONY ", MakerNoteLayout::Sony, "Sony"},
};

struct MakeName {
    std::string_view prefix; // upper case
    MakerNoteLayout layout;
    std::string_view group;
};

constexpr MakeName kMakes[] = {
    {"CANON", MakerNoteLayout::Canon, "Canon"},
    {"NIKON", MakerNoteLayout::Nikon, "Nikon"},
    {"OLYMPUS", MakerNoteLayout::Olympus, "Olympus"},
    {"OM DIGITAL", MakerNoteLayout::Olympus, "Olympus"},
    {"FUJIFILM", MakerNoteLayout::Fujifilm, "FujiFilm"},
    {"PANASONIC", MakerNoteLayout::Panasonic, "Panasonic"},
    {"PENTAX", MakerNoteLayout::Pentax, "Pentax"},
    {"RICOH IMAGING", MakerNoteLayout::Pentax, "Pentax"},
    {"SONY", MakerNoteLayout::Sony, "Sony"},
    {"SAMSUNG", MakerNoteLayout::Samsung, "Samsung"},
    {"CASIO", MakerNoteLayout::Plain, "Casio"},
    {"EASTMAN KODAK", MakerNoteLayout::Plain, "Kodak"},
    {"KODAK", MakerNoteLayout::Plain, "Kodak"},
    {"KONICA MINOLTA", MakerNoteLayout::Plain, "Minolta"},
    {"MINOLTA", MakerNoteLayout::Plain, "Minolta"},
    {"SIGMA", MakerNoteLayout::Plain, "Sigma"},
    {"LEICA", MakerNoteLayout::Plain, "Leica"},
    {"DJI", MakerNoteLayout::Plain, "DJI"},
    {"RICOH", MakerNoteLayout::Plain, "Ricoh"},
    {"SANYO", MakerNoteLayout::Plain, "Sanyo"},
    {"JVC", MakerNoteLayout::Plain, "JVC"},
    {"HEWLETT", MakerNoteLayout::Plain, "HP"},
    {"KYOCERA", MakerNoteLayout::Plain, "Kyocera"},
};

// Where a plain maker's directory starts after its few bytes of header.
size_t PlainDirectoryAt(const unsigned char* note, size_t size) {
    if (StartsWith(note, size, {"QVC\0", 4}))
        return 6; // Casio's second layout
    if (StartsWith(note, size, "SANYO") || StartsWith(note, size, "Ricoh") ||
        StartsWith(note, size, "RICOH"))
        return 8;
    if (StartsWith(note, size, "JVC "))
        return 4;
    return 0;
}

} // namespace

MakerNoteKind IdentifyMakerNote(const unsigned char* note, size_t size, std::string_view make) {
    for (const Signature& s : kSignatures) {
        if (StartsWith(note, size, s.bytes))
            return {s.layout, s.group, 0};
    }
    for (const MakeName& m : kMakes) {
        if (!MakeIs(make, m.prefix))
            continue;
        if (m.layout == MakerNoteLayout::Plain)
            return {m.layout, m.group, PlainDirectoryAt(note, size)};
        return {m.layout, m.group, 0};
    }
    return {};
}
