#pragma once

#include <QString>

// The user-interface texts compiled into the program, loaded by id.
namespace StringTable {

// The fields of the template string (id 128), in order.
enum class DocField {
    WindowTitle = 0,
    DocName,
    FileNewName,
    FilterName,
    FilterExtension,
    RegFileTypeId,
    RegFileTypeName,
};

// The text under `id`, or an empty string when there is none.
QString Load(uint id);
bool Contains(uint id);

// Field `index` of a line-feed separated text; empty when it has fewer fields.
QString Field(const QString& text, int index);
QString DocString(DocField field);

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
