// An OutputFile in memory for the writer's tests: it keeps every write in
// order, so that a test can rebuild the file as it stood after any prefix
// of them (a crash, a lost tail), and it can be told to refuse writes that
// would grow the file past a size (a full disk).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "avi/OutputFile.h"

class MemoryFile : public OutputFile {
public:
    struct Write {
        uint64_t offset;
        std::vector<uint8_t> bytes;  // empty for a truncation
        bool truncate;
        uint64_t truncateSize;
    };

    bool WriteAt(uint64_t offset, const void* data, size_t size) override;
    bool ReadAt(uint64_t offset, void* data, size_t size) override;
    bool Truncate(uint64_t size) override;
    bool FlushToDisk() override;
    uint32_t ErrorCode() const override { return m_error; }

    // Writes that would end past this size write what fits and fail.
    uint64_t capacity = UINT64_MAX;
    static constexpr uint32_t DiskFull = 112;

    const std::vector<uint8_t>& Bytes() const { return m_bytes; }
    const std::vector<Write>& Log() const { return m_log; }
    int Flushes() const { return m_flushes; }
    // The file after the first `writes` logged writes and `bytes` bytes of
    // the next one.
    std::vector<uint8_t> After(size_t writes, size_t bytes = 0) const;
    bool SaveTo(const std::string& path) const;

private:
    std::vector<uint8_t> m_bytes;
    std::vector<Write> m_log;
    uint32_t m_error = 0;
    int m_flushes = 0;
};
