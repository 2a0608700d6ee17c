// Memory inside the process that owns a window. Control messages that take a
// pointer (status bar and tooltip queries) are not copied between processes,
// so the pointer must be valid in the control's own process.
#pragma once

#include <windows.h>

#include <cstddef>

class RemoteBuffer {
public:
    RemoteBuffer(HWND owner, size_t size);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool Ok() const { return m_address != nullptr; }
    // The address as the owning process sees it, to pass in a message.
    LPARAM Address(size_t offset = 0) const {
        return reinterpret_cast<LPARAM>(static_cast<char*>(m_address) + offset);
    }
    bool Write(const void* data, size_t size, size_t offset = 0);
    bool Read(void* data, size_t size, size_t offset = 0) const;

private:
    HANDLE m_process = nullptr;
    void* m_address = nullptr;
    size_t m_size;
};
