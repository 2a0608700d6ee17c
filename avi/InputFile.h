// The little the AVI reader asks of a file: its size and positioned reads.
#pragma once

#include <cstddef>
#include <cstdint>

class InputFile {
public:
    virtual ~InputFile() = default;
    virtual uint64_t Size() const = 0;
    // False unless every byte was read.
    virtual bool ReadAt(uint64_t offset, void* data, size_t size) = 0;
};
