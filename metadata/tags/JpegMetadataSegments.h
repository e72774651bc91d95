#pragma once

#include <cstddef>
#include <cstdint>

// Where a JPEG file's EXIF block, XMP packet and Photoshop (IPTC) payload
// lie among its header segments, found by a bounded scan up to the start
// of scan. Pointers are into the caller's buffer; a part not found stays
// null with size 0. The first segment of each kind counts.
struct JpegMetadataSegments {
    const uint8_t* exif = nullptr; // the TIFF structure after "Exif\0\0"
    size_t exifSize = 0;
    const uint8_t* xmp = nullptr; // the packet after "http://ns.adobe.com/xap/1.0/\0"
    size_t xmpSize = 0;
    const uint8_t* photoshop = nullptr; // APP13 payload from "Photoshop 3.0\0" on
    size_t photoshopSize = 0;
};

// `data` holds the file from its start (the header part is enough: a
// segment cut off by the buffer's end is not used). False when the buffer
// does not start with a JPEG start of image.
bool FindJpegMetadataSegments(const uint8_t* data, size_t size, JpegMetadataSegments& out);
