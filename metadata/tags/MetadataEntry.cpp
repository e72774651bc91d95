#include "metadata/tags/MetadataEntry.h"

#include <ostream>

void MetadataCollector::MarkTruncated() {
    if (!m_truncated) {
        m_truncated = true;
        Note("more than " + std::to_string(m_maxEntries) + " entries; the rest are not listed");
    }
}

bool MetadataCollector::Add(MetadataEntry&& entry) {
    MetadataEntry* added = Append();
    if (added != nullptr)
        *added = std::move(entry);
    return added != nullptr;
}

bool MetadataCollector::AddAll(std::vector<MetadataEntry>&& entries) {
    const size_t given = entries.size();
    const size_t room = m_maxEntries > m_entries.size() ? m_maxEntries - m_entries.size() : 0;
    const size_t taken = given < room ? given : room;
    m_entries.reserve(m_entries.size() + taken);
    for (size_t i = 0; i < taken; ++i)
        m_entries.push_back(std::move(entries[i]));
    entries.clear();
    if (taken == given)
        return true;
    MarkTruncated();
    return false;
}

MetadataEntry* MetadataCollector::Append() {
    if (Full()) {
        MarkTruncated();
        return nullptr;
    }
    return &m_entries.emplace_back();
}

void MetadataCollector::RollBack(const Mark& mark) {
    if (mark.entries < m_entries.size())
        m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(mark.entries),
                        m_entries.end());
    if (mark.notes < m_notes.size())
        m_notes.erase(m_notes.begin() + static_cast<std::ptrdiff_t>(mark.notes), m_notes.end());
    m_truncated = mark.truncated;
}

void MetadataCollector::Note(std::string note) {
    if (m_notes.size() < kMaxNotes)
        m_notes.push_back(std::move(note));
}

namespace {

bool StartsWith(const std::string& s, const char* prefix) {
    return s.rfind(prefix, 0) == 0;
}

} // namespace

std::string GroupDisplayName(const std::string& group) {
    if (group == "IFD0")
        return "Image";
    if (group == "ExifIFD")
        return "Exif";
    if (group == "GPS")
        return "GPS";
    if (group == "InteropIFD")
        return "Interoperability";
    if (group == "IFD1")
        return "Thumbnail";
    if (StartsWith(group, "SubIFD"))
        return "SubIFD";
    if (StartsWith(group, "XMP"))
        return "XMP";
    if (group == "IPTC")
        return "IPTC";
    return group;
}

std::ostream& operator<<(std::ostream& out, const EntryName& name) {
    return out << name.View();
}
