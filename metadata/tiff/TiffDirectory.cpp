#include "metadata/tiff/TiffDirectory.h"

#include "metadata/tiff/TiffHeader.h"

bool TiffSpan::Resolve(uint64_t offset, uint64_t length, size_t& position) const {
    // origin <= size, so size - origin cannot wrap; each comparison then
    // keeps the next subtraction in range.
    if (origin > size)
        return false;
    const uint64_t room = size - origin;
    if (offset > room || length > room - offset)
        return false;
    position = origin + static_cast<size_t>(offset);
    return true;
}

TiffDirectory::TiffDirectory(const TiffSpan& span, uint64_t offset)
    : m_span(span), m_offset(offset) {
    if (span.data == nullptr || !span.Resolve(offset, 2, m_position))
        return;
    m_valid = true;
    m_declared = TiffRead16(span.data + m_position, span.order);
    const size_t room = (span.size - m_position - 2) / TiffEntry::kSize;
    m_fitting = m_declared <= room ? m_declared : static_cast<uint32_t>(room);
}

TiffEntry TiffDirectory::Entry(uint32_t i) const {
    TiffEntry e;
    if (i >= m_fitting)
        return e;
    const unsigned char* p = m_span.data + m_position + 2 + size_t{TiffEntry::kSize} * i;
    e.tag = TiffRead16(p, m_span.order);
    e.type = TiffRead16(p + 2, m_span.order);
    e.count = TiffRead32(p + 4, m_span.order);
    e.valueField = TiffRead32(p + 8, m_span.order);
    e.position = static_cast<size_t>(p - m_span.data);
    return e;
}

bool TiffDirectory::Find(uint16_t tag, TiffEntry& entry) const {
    for (uint32_t i = 0; i < m_fitting; ++i) {
        entry = Entry(i);
        if (entry.tag == tag)
            return true;
    }
    return false;
}

TiffValueFault TiffDirectory::Locate(const TiffEntry& entry, TiffValue& value) const {
    if (TiffTypeSize(entry.type) == 0)
        return TiffValueFault::UnknownType;
    const uint64_t bytes = entry.ByteCount();
    size_t at = entry.position + 8;
    if (!entry.IsInline() && !m_span.Resolve(entry.valueField, bytes, at))
        return TiffValueFault::OutsideBlock;
    value = {m_span.data + at, static_cast<size_t>(bytes), entry.type, m_span.order};
    return TiffValueFault::None;
}

bool TiffDirectory::NextLink(uint32_t& next) const {
    size_t at;
    if (!m_valid || !m_span.Resolve(EntriesEnd(), 4, at))
        return false;
    next = TiffRead32(m_span.data + at, m_span.order);
    return true;
}

uint32_t TiffUnsignedOf(const unsigned char* block, size_t size, uint64_t offset, uint16_t tag) {
    TiffHeader header;
    if (!ReadTiffHeader(block, size, header))
        return 0;
    const TiffDirectory directory(TiffSpan{block, size, 0, header.order}, offset);
    TiffEntry entry;
    TiffValue value;
    uint32_t number = 0;
    if (directory.Find(tag, entry) && directory.Locate(entry, value) == TiffValueFault::None &&
        TiffUnsignedAt(value, 0, number))
        return number;
    return 0;
}
