// Moves a range of a file to another place in the same file, through a
// buffer of blockBytes, in the order that never reads what it overwrote.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "avi/OutputFile.h"

using MoveProgress = std::function<void(uint64_t done, uint64_t total)>;

// False at the first read or write that fails.
bool MoveFileRange(OutputFile& file, uint64_t from, uint64_t to, uint64_t size, size_t blockBytes,
                   const MoveProgress& progress);
