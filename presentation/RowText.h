#pragma once

#include "presentation/TagRows.h"

#include <string>
#include <vector>

// The rows as text: one "Label<TAB>Value" line each, in row order. The
// command line prints it and the window's screenshot mode too.
void AppendRowsText(const std::vector<TagRow>& rows, std::string& out);
