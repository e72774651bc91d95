#include "framework/views/FileColumns.h"

#include "framework/views/NaturalOrder.h"

int CompareCells(const FileColumnCell& left, const FileColumnCell& right) {
    if (left.number && right.number)
        return *left.number < *right.number ? -1 : (*right.number < *left.number ? 1 : 0);
    if (left.number || right.number)
        return left.number ? -1 : 1;
    return NaturalCompare(left.text, right.text);
}
