// A file to read on Windows, shared so that a recorder may still be
// writing it (or a player reading it) meanwhile.
#pragma once

#include <windows.h>

#include <string>

#include "avi/InputFile.h"

class WindowsInputFile : public InputFile {
public:
    // Opens the file; Opened() tells whether that worked, ErrorCode() why not.
    explicit WindowsInputFile(const std::string& path);
    ~WindowsInputFile() override;
    WindowsInputFile(const WindowsInputFile&) = delete;
    WindowsInputFile& operator=(const WindowsInputFile&) = delete;

    bool Opened() const { return m_handle != INVALID_HANDLE_VALUE; }
    uint32_t ErrorCode() const { return m_error; }

    // The size when the file was opened.
    uint64_t Size() const override { return m_size; }
    bool ReadAt(uint64_t offset, void* data, size_t size) override;

private:
    bool Failed();

    HANDLE m_handle = INVALID_HANDLE_VALUE;
    uint64_t m_size = 0;
    uint32_t m_error = 0;
};
