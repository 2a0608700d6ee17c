// Finds a file's chunks without an index: walks from a chunk header on,
// chunk by chunk, into 'movi' and 'rec ' lists and 'RIFF AVIX' parts as it
// meets them, whatever sizes those claim (a crash leaves them short of what
// follows), over index chunks and the like, until the file ends or what
// follows is no chunk.
#pragma once

#include <cstdint>
#include <vector>

#include "avi/AviFileReader.h"
#include "avi/RiffInput.h"

// Appends to each stream the data chunks met after the last one it lists;
// returns whether it appended any. A chunk that runs past the end of the
// file ends the walk, and contents.cutShort then says so. streamOf: as
// AviHeaderRead has it.
bool WalkChunks(RiffInput& in, uint64_t from, const std::vector<int>& streamOf,
                AviFileContents& contents);
