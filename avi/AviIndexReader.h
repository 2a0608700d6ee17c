// The chunks an AVI file's indexes list: the standard index chunks that
// each stream's super index leads to, or the legacy 'idx1' of the first
// RIFF part. A stream's list ends at its first entry whose data does not
// lie whole in the file (contents.cutShort then says so).
#pragma once

#include <cstdint>
#include <vector>

#include "avi/AviFileReader.h"
#include "avi/RiffInput.h"

// indexes: by contents.streams, the positions of their standard index chunks.
void ReadStandardIndexes(RiffInput& in, const std::vector<std::vector<uint64_t>>& indexes,
                         AviFileContents& contents);

// moviType: where the first 'movi' list's form type lies, which the
// entries' offsets count from, unless they turn out to count from the start
// of the file. streamOf: as AviHeaderRead has it.
void ReadLegacyIndex(RiffInput& in, const RiffChunkHeader& idx1, uint64_t moviType,
                     const std::vector<int>& streamOf, AviFileContents& contents);
