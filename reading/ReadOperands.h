#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class ReadingPool;

// Called on the walking thread after each folder is listed, with the number
// of files in it to read (for progress: "212 folders").
using FolderProgress = std::function<void(const std::string& folder, size_t files)>;

// Walks the operands in order (WalkOperand: folders only when `recursive`),
// submits everything the walk finds to the pool, then waits for the last
// delivery (ReadingPool::Finish). False when the pool was cancelled; the
// walk stops then too.
bool ReadOperands(ReadingPool& pool, const std::vector<std::string>& operands, bool recursive,
                  const FolderProgress& folderListed = {});
