#include "shell/DocTemplate.h"

#include "framework/commands/StringTable.h"
#include "resources/ApplicationIds.h"

QString DocString(DocField field) {
    return StringTable::Field(StringTable::Load(StringId::MainFrame), int(field));
}
