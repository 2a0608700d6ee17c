// An OutputFile in memory for the MP4 writer's tests. It keeps its bytes in
// pages, so that a file of several GB with gaps costs only what was kept;
// writes longer than keepWhole keep only their first and last edgeBytes (the
// rest reads back as unknown and a read of it fails), so a test can push
// gigabytes through a writer; and it can be told to fail one call.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "avi/OutputFile.h"

class SparseFile : public OutputFile {
public:
    bool WriteAt(uint64_t offset, const void* data, size_t size) override;
    bool ReadAt(uint64_t offset, void* data, size_t size) override;
    bool Truncate(uint64_t size) override;
    bool FlushToDisk() override;
    uint32_t ErrorCode() const override { return m_error; }

    uint64_t Size() const { return m_size; }
    // WriteAt, Truncate and FlushToDisk calls so far.
    int Calls() const { return m_calls; }

    size_t keepWhole = SIZE_MAX;
    size_t edgeBytes = 64;
    int failCall = -1;  // this call (counted from 0) fails, writing nothing
    static constexpr uint32_t FailedCode = 29;

private:
    struct Page {
        std::vector<uint8_t> bytes;
        std::vector<bool> known;
    };
    static constexpr uint64_t PageBytes = 65536;
    bool Failing();
    void Keep(uint64_t offset, const uint8_t* data, size_t size);

    std::unordered_map<uint64_t, Page> m_pages;
    uint64_t m_size = 0;
    int m_calls = 0;
    uint32_t m_error = 0;
};
