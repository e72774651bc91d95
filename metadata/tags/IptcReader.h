#pragma once

#include "metadata/tags/MetadataEntry.h"

#include <cstddef>
#include <cstdint>
#include <string>

// IPTC-IIM datasets, listed in group "IPTC" with id -1, type 0, the
// dataset's size as count and its text (or number) as value. Repeated
// datasets (Keywords) are kept in their order. Texts are read as UTF-8 when
// CodedCharacterSet (1:90) says so (ESC % G), else as Latin-1.

// The IIM stream itself, as TIFF tag 33723 holds it: datasets 0x1C, record,
// dataset, size. Extended sizes (top bit set) are read when their size
// field is at most four bytes and the data fits. False when not one dataset
// could be read; a stream that breaks off is noted in `out`.
bool ReadIptcIim(const uint8_t* data, size_t size, MetadataCollector& out);

// A JPEG APP13 payload ("Photoshop 3.0\0" and 8BIM image resource blocks;
// the signature may also be missing, as in TIFF tag 34377): the IIM of
// every resource 0x0404 is read as above. False when there is no IIM
// resource.
bool ReadPhotoshopIptc(const uint8_t* data, size_t size, MetadataCollector& out);

// "ObjectName", "Keywords", ...; nullptr for a dataset we have no name for
// (listed as "IPTC2:200").
const char* IptcDatasetName(uint8_t record, uint8_t dataset);
