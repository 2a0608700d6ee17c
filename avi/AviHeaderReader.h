// The header of an AVI file read back: the main header, each stream's
// header, format and super index, and the extended header.
#pragma once

#include <cstdint>
#include <vector>

#include "avi/AviFileReader.h"
#include "avi/RiffInput.h"

struct AviHeaderRead {
    AviFileContents contents;  // everything but the chunks
    // By the stream numbers of the file's chunk ids: the stream in
    // contents.streams, or -1 for a stream that is neither video nor sound.
    std::vector<int> streamOf;
    // By contents.streams: where its super index says its standard index chunks are.
    std::vector<std::vector<uint64_t>> standardIndexes;
    uint64_t end = 0;      // where the header list ends
    uint64_t riffEnd = 0;  // where the first RIFF part says it ends
};

AviHeaderRead ReadAviHeader(RiffInput& in);
