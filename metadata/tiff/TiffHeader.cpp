#include "metadata/tiff/TiffHeader.h"

bool ReadTiffByteOrder(const unsigned char* data, size_t size, TiffByteOrder& order) {
    if (data == nullptr || size < 2 || data[0] != data[1])
        return false;
    if (data[0] == 'I')
        order = TiffByteOrder::Little;
    else if (data[0] == 'M')
        order = TiffByteOrder::Big;
    else
        return false;
    return true;
}

bool ReadTiffHeader(const unsigned char* data, size_t size, TiffHeader& header) {
    if (size < TiffHeader::kSize || !ReadTiffByteOrder(data, size, header.order))
        return false;
    header.magic = TiffRead16(data + 2, header.order);
    header.firstOffset = TiffRead32(data + 4, header.order);
    return true;
}
