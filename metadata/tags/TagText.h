#pragma once

#include "metadata/tags/ExifTagNames.h"
#include "metadata/tags/MetadataEntry.h"

#include <string>

// Texts for people from walked EXIF entries: units and the standards' names
// for enumerated values.

// The text of one entry of directory `entry.group` from its value alone
// ("1/250 s", "f/3.5", "Auto white balance", "Flash fired, return light
// detected"); the raw text where we have nothing better. GPS coordinates
// need their reference entries: see ApplyGpsTexts.
std::string TagText(const MetadataEntry& entry);
// The same for a walk that knows the group's tag space already.
std::string TagText(const MetadataEntry& entry, TagSpace space);

// Exposure time in seconds as people write it: "1/250 s", "0.8 s", "2 s".
std::string ExposureText(double seconds);
// "f/3.5", "f/11".
std::string FNumberText(double f);
// The standard's description of a Flash value.
std::string FlashText(uint32_t flash);
// A number without needless digits: 72, 4.15, 0.0303030303.
std::string NumberText(double v);

// The value as written: "1/250" for a rational, "72 72", "0232", the first
// bytes in hex "00 FF 10 …"; entry.rawOverride when it is set.
std::string RawText(const MetadataEntry& entry);
// Appends `v` as printf's "%.10g" writes it in the C locale ("72", "4.15",
// "1e+20", "-0", "inf", "-nan"), at a fraction of printf's cost.
void AppendTenDigits(std::string& out, double v);
