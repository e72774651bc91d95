#include "metadata/makernotes/MakerTagTable.h"

#include "metadata/tags/TagText.h"
#include "metadata/tags/TextEncoding.h"

#include <algorithm>
#include <cmath>

namespace {

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0'))
        text.pop_back();
    return text;
}

void SetSummaryFrom(const MetadataEntry& e, MakerNoteList::Summary row, MakerNoteList& list) {
    const MetadataValue& v = e.value;
    if (row == MakerNoteList::Summary::Lens && v.kind != MetadataValue::Kind::Text)
        return; // a lens number no table names says nothing to people
    if (v.kind == MetadataValue::Kind::Text) {
        list.SetSummary(row, Trimmed(v.text));
    } else if (v.IsSingleNumber()) {
        list.SetSummaryNumber(row, v.numbers[0]);
    } else if (v.kind == MetadataValue::Kind::Numbers && !v.numbers.empty()) {
        std::string joined;
        for (const double n : v.numbers) {
            if (!std::isfinite(n) || n != std::floor(n) || std::fabs(n) > 1e15)
                return; // not the small whole numbers of a version
            joined += (joined.empty() ? "" : ".") + std::to_string(static_cast<int64_t>(n));
        }
        list.SetSummary(row, joined);
    } else if (v.kind == MetadataValue::Kind::Bytes && !v.bytes.empty() && !v.truncated) {
        std::string joined;
        for (const uint8_t b : v.bytes)
            joined += (joined.empty() ? "" : ".") + std::to_string(b);
        list.SetSummary(row, joined);
    }
}

void ApplyForm(MakerForm form, MetadataEntry& e) {
    MetadataValue& v = e.value;
    switch (form) {
    case MakerForm::AsWritten:
        return;
    case MakerForm::Text: {
        if (v.kind != MetadataValue::Kind::Bytes)
            return;
        size_t n = 0;
        while (n < v.bytes.size() && v.bytes[n] != 0)
            ++n;
        v.text = Trimmed(Utf8OrLatin1(v.bytes.data(), n));
        v.kind = MetadataValue::Kind::Text;
        v.bytes.clear();
        break;
    }
    case MakerForm::Numbers:
        if (v.kind != MetadataValue::Kind::Bytes)
            return;
        for (const uint8_t b : v.bytes)
            v.numbers.push_back(b);
        v.kind = MetadataValue::Kind::Numbers;
        v.bytes.clear();
        break;
    case MakerForm::Hundredths:
        if (!v.IsSingleNumber())
            return;
        v.numbers[0] /= 100;
        v.fractions.clear();
        break;
    }
    e.text = v.kind == MetadataValue::Kind::Text ? v.text : RawText(e);
}

} // namespace

const MakerTag* FindMakerTag(MakerTagTable table, uint16_t tag) {
    for (const MakerTag& row : table) {
        if (row.tag == tag)
            return &row;
    }
    return nullptr;
}

std::string_view MakerValueMeaning(const MakerTag& row, double value) {
    if (!std::isfinite(value) || value != std::floor(value))
        return {};
    for (const MakerValueText& t : row.texts) {
        if (static_cast<double>(t.value) == value)
            return t.text;
    }
    return {};
}

uint32_t ListTableDirectory(const MakerNoteFrame& frame, const TiffDirectory& directory,
                            MakerTagTable table, std::span<const MakerSummaryTag> summary,
                            MakerNoteList& list, MakerEntryText textOf) {
    if (!directory.Valid())
        return 0;
    const uint32_t count = ListedCount(directory);
    uint32_t listed = 0;
    const auto namesLens = [summary](uint16_t tag) {
        return std::any_of(summary.begin(), summary.end(), [tag](const MakerSummaryTag& s) {
            return s.tag == tag && s.row == MakerNoteList::Summary::Lens;
        });
    };
    for (uint32_t i = 0; i < count; ++i) {
        const TiffEntry entry = directory.Entry(i);
        // Passed over, but counted as listed: the lens alone is wanted.
        if (list.LensOnly() && !namesLens(entry.tag)) {
            ++listed;
            continue;
        }
        const MakerTag* row = FindMakerTag(table, entry.tag);
        MetadataEntry* e = list.AddTag(entry.tag, row != nullptr ? row->name : std::string_view(),
                                       entry.type, entry.count);
        if (e == nullptr)
            break;
        ++listed;
        TiffValue value;
        if (FillOrNoteFault(frame.Locate(directory, entry, value), value, entry, *e) &&
            row != nullptr)
            ApplyForm(row->form, *e);
        bool described = false;
        if (row != nullptr && e->value.IsSingleNumber()) {
            const std::string_view meaning = MakerValueMeaning(*row, e->value.numbers[0]);
            if (!meaning.empty()) {
                e->text = std::string(meaning);
                described = true;
            }
        }
        if (textOf != nullptr) {
            std::string text = textOf(*e);
            if (!text.empty()) {
                e->text = std::move(text);
                described = true;
            }
        }
        for (const MakerSummaryTag& s : summary) {
            if (s.tag != entry.tag)
                continue;
            if (described)
                list.SetSummary(s.row, e->text);
            else
                SetSummaryFrom(*e, s.row, list);
        }
    }
    return listed;
}

bool PlausibleNoteDirectory(const TiffDirectory& directory) {
    return directory.Valid() && directory.DeclaredCount() > 0 && directory.DeclaredCount() <= 256 &&
           directory.AllEntriesFit();
}

namespace {

int ValuesInside(const MakerNoteFrame& frame, const TiffDirectory& directory) {
    int inside = 0;
    for (uint32_t i = 0; i < directory.FittingCount(); ++i) {
        const TiffEntry entry = directory.Entry(i);
        TiffValue value;
        if (!entry.IsInline() && frame.Locate(directory, entry, value) == TiffValueFault::None)
            ++inside;
    }
    return inside;
}

} // namespace

MakerNoteFrame FrameWithValuesInside(const unsigned char* note, size_t size, TiffByteOrder order,
                                     uint64_t storedOffset, uint64_t directoryAt) {
    const MakerNoteFrame fromHeader(note, size, order, storedOffset);
    const TiffDirectory directory = MakerNoteFrame(note, size, order, 0).DirectoryAt(directoryAt);
    if (!directory.Valid())
        return fromHeader;
    // Where the note stood, told by its lowest value offset: cameras write
    // the values right after the directory and its next link (or without
    // the link). This finds the base when the note was copied elsewhere.
    const uint64_t lowest = LowestValueOffset(directory);
    const uint64_t end = directory.EntriesEnd();
    const uint64_t candidates[] = {storedOffset, 0, lowest >= end + 4 ? lowest - end - 4 : 0,
                                   lowest >= end ? lowest - end : 0};
    MakerNoteFrame best = fromHeader;
    int bestInside = ValuesInside(fromHeader, directory);
    for (const uint64_t base : candidates) {
        const MakerNoteFrame frame(note, size, order, base);
        const int inside = ValuesInside(frame, directory);
        if (inside > bestInside) {
            best = frame;
            bestInside = inside;
        }
    }
    return best;
}
