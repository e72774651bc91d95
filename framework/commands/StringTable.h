#pragma once

#include <QString>

#include <span>
#include <string_view>

// One entry of an application's string table.
struct StringResource {
    unsigned id;
    std::u16string_view text;
};

// The user-interface texts of the application, loaded by id. The application
// hands its table over at start-up, before the first window is made.
namespace StringTable {

// `table` is in ascending id order and outlives every use (compiled-in data).
void Install(std::span<const StringResource> table);

// The text under `id`, or an empty string when there is none.
QString Load(uint id);
bool Contains(uint id);

// Field `index` of a line-feed separated text; empty when it has fewer fields.
QString Field(const QString& text, int index);

// A command string is "prompt\ntooltip": the status-bar prompt, then the
// tooltip title. A ribbon text is "label\nkey tip".
inline QString PromptOf(const QString& text) {
    return Field(text, 0);
}
inline QString TooltipOf(const QString& text) {
    return Field(text, 1);
}
inline QString LabelOf(const QString& text) {
    return Field(text, 0);
}
inline QString KeyTipOf(const QString& text) {
    return Field(text, 1);
}

} // namespace StringTable
