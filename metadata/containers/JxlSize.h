#pragma once

#include <cstddef>
#include <cstdint>

// The picture size from the start of a JPEG XL codestream (FF 0A, then the
// size header); false when the bytes are too few or not a codestream.
bool JxlCodestreamSize(const unsigned char* data, size_t size, uint32_t& width, uint32_t& height);
