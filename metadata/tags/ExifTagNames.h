#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Tag names of our own tables, as the TIFF 6.0, EXIF 3.0 (with its GPS and
// interoperability directories) and DNG documents name the tags.

// Which table a directory's tag numbers belong to: the GPS and the
// interoperability directories number their tags afresh from 0.
enum class TagSpace : uint8_t { Tiff, Gps, Interop };

TagSpace TagSpaceOfGroup(const std::string& group);

// The tag's name, or nullptr when our tables do not know it.
const char* ExifTagName(uint16_t tag, TagSpace space);
// The same with its length; empty when our tables do not know it.
std::string_view ExifTagNameText(uint16_t tag, TagSpace space);
// The name, or "Tag0x9A01" (upper-case hex, four digits) for an unknown tag.
std::string ExifTagNameOrId(uint16_t tag, TagSpace space);
