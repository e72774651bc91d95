#include "presentation/RowText.h"

void AppendRowsText(const std::vector<TagRow>& rows, std::string& out) {
    for (const TagRow& row : rows) {
        out += row.label;
        out += '\t';
        out += row.value;
        out += '\n';
    }
}
