// The recording's file on Windows: created (an existing file replaced) for
// writing, readable by other programs while it grows.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "avi/OutputFile.h"

class WindowsOutputFile : public OutputFile {
public:
    // Creates the file; Opened() tells whether that worked, ErrorCode() why not.
    explicit WindowsOutputFile(const std::string& path);
    ~WindowsOutputFile() override;
    WindowsOutputFile(const WindowsOutputFile&) = delete;
    WindowsOutputFile& operator=(const WindowsOutputFile&) = delete;

    bool Opened() const { return m_handle != INVALID_HANDLE_VALUE; }

    bool WriteAt(uint64_t offset, const void* data, size_t size) override;
    bool ReadAt(uint64_t offset, void* data, size_t size) override;
    bool Truncate(uint64_t size) override;
    bool FlushToDisk() override;
    uint32_t ErrorCode() const override { return m_error; }

private:
    bool Failed();

    HANDLE m_handle = INVALID_HANDLE_VALUE;
    // The disk flush may run beside another thread's write.
    std::atomic<uint32_t> m_error{0};
};
