// The few things the AVI writer asks of a file: positioned writes and
// reads, cutting off a torn tail, and pushing what was written to the disk.
#pragma once

#include <cstddef>
#include <cstdint>

class OutputFile {
public:
    virtual ~OutputFile() = default;
    // False unless every byte was written.
    virtual bool WriteAt(uint64_t offset, const void* data, size_t size) = 0;
    virtual bool ReadAt(uint64_t offset, void* data, size_t size) = 0;
    // Ends the file at size.
    virtual bool Truncate(uint64_t size) = 0;
    // Returns once everything written so far is on the disk.
    virtual bool FlushToDisk() = 0;
    // The system's error code of the first call that failed; 0 while none did.
    virtual uint32_t ErrorCode() const = 0;
};
