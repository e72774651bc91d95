#include "framework/commands/StringTable.h"

#include <algorithm>

namespace StringTable {

namespace {

// Immutable compiled-in data, set once at start-up.
std::span<const StringResource> installed;

const StringResource* Find(uint id) {
    const auto table = installed;
    const auto it = std::lower_bound(table.begin(), table.end(), id,
                                     [](const StringResource& e, uint key) { return e.id < key; });
    return it != table.end() && it->id == id ? &*it : nullptr;
}

} // namespace

void Install(std::span<const StringResource> table) {
    installed = table;
}

QString Load(uint id) {
    const StringResource* entry = Find(id);
    if (!entry)
        return {};
    return QString::fromUtf16(entry->text.data(), qsizetype(entry->text.size()));
}

bool Contains(uint id) {
    return Find(id) != nullptr;
}

QString Field(const QString& text, int index) {
    if (index < 0)
        return {};
    qsizetype start = 0;
    for (int i = 0; i < index; ++i) {
        const qsizetype lineFeed = text.indexOf(QLatin1Char('\n'), start);
        if (lineFeed < 0)
            return {};
        start = lineFeed + 1;
    }
    const qsizetype end = text.indexOf(QLatin1Char('\n'), start);
    return text.mid(start, end < 0 ? -1 : end - start);
}

} // namespace StringTable
