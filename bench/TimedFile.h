// An output file that passes everything on to another and times each
// FlushToDisk, so the benchmark can tell the disk's share of a write.
#pragma once

#include <chrono>
#include <vector>

#include "avi/OutputFile.h"

class TimedFile : public OutputFile {
public:
    explicit TimedFile(OutputFile& file) : m_file(file) {}

    bool WriteAt(uint64_t offset, const void* data, size_t size) override {
        return m_file.WriteAt(offset, data, size);
    }
    bool ReadAt(uint64_t offset, void* data, size_t size) override {
        return m_file.ReadAt(offset, data, size);
    }
    bool Truncate(uint64_t size) override { return m_file.Truncate(size); }
    bool FlushToDisk() override {
        const auto start = std::chrono::steady_clock::now();
        const bool ok = m_file.FlushToDisk();
        flushMs.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
        return ok;
    }
    uint32_t ErrorCode() const override { return m_file.ErrorCode(); }

    std::vector<double> flushMs;  // one per call, in order

private:
    OutputFile& m_file;
};
