#pragma once

#include <QString>

// The fields of the document template string (id 128), in order.
enum class DocField {
    WindowTitle = 0,
    DocName,
    FileNewName,
    FilterName,
    FilterExtension,
    RegFileTypeId,
    RegFileTypeName,
};

// Field `field` of the template string; empty when it has fewer fields.
QString DocString(DocField field);
