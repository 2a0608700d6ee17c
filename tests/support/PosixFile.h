// An OutputFile on the host's file system, for the tests and benchmarks
// that hand our writers' files to real players.
#pragma once

#include <string>

#include "avi/OutputFile.h"

class PosixFile : public OutputFile {
public:
    // Creates the file, replacing one; Opened() tells whether that worked.
    explicit PosixFile(const std::string& path);
    ~PosixFile() override;
    PosixFile(const PosixFile&) = delete;
    PosixFile& operator=(const PosixFile&) = delete;

    bool Opened() const { return m_fd >= 0; }
    bool WriteAt(uint64_t offset, const void* data, size_t size) override;
    bool ReadAt(uint64_t offset, void* data, size_t size) override;
    bool Truncate(uint64_t size) override;
    bool FlushToDisk() override;
    uint32_t ErrorCode() const override { return m_error; }

private:
    bool Failed();

    int m_fd = -1;
    uint32_t m_error = 0;
};
