#include "mp4/FileMove.h"

#include <algorithm>
#include <vector>

bool MoveFileRange(OutputFile& file, uint64_t from, uint64_t to, uint64_t size, size_t blockBytes,
                   const MoveProgress& progress) {
    if (from == to || size == 0) return true;
    std::vector<uint8_t> block(size_t(std::min<uint64_t>(blockBytes, size)));
    // Forward from the end, back from the start.
    const bool forward = to > from;
    for (uint64_t done = 0; done < size;) {
        const size_t n = size_t(std::min<uint64_t>(block.size(), size - done));
        const uint64_t at = forward ? size - done - n : done;
        if (!file.ReadAt(from + at, block.data(), n) || !file.WriteAt(to + at, block.data(), n))
            return false;
        done += n;
        if (progress) progress(done, size);
    }
    return true;
}
