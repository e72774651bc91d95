#pragma once

#include "metadata/LocatedBlocks.h"
#include "metadata/tags/MetadataEntry.h"

#include <span>

// The blocks of Samsung's trailer (ReadSamsungTrailer) listed under
// "Samsung" with their types as ids: when the photo was taken (0x0A01,
// milliseconds since 1970, printed in UTC), the mobile network's country
// code (0x0AA1), an embedded video's kind and size (0x0A30); the others as
// Tag0x...., their data as text where it is text.
void ListSamsungTrailer(std::span<const SamsungTrailerBlock> blocks, MetadataCollector& out);
