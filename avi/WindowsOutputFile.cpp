#include "avi/WindowsOutputFile.h"

namespace {

OVERLAPPED At(uint64_t offset) {
    OVERLAPPED at{};
    at.Offset = DWORD(offset);
    at.OffsetHigh = DWORD(offset >> 32);
    return at;
}

// Larger writes go in pieces that a DWORD can count.
constexpr size_t MaxPiece = size_t(1) << 30;

}  // namespace

WindowsOutputFile::WindowsOutputFile(const std::string& path) {
    m_handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_handle == INVALID_HANDLE_VALUE) m_error = GetLastError();
}

WindowsOutputFile::~WindowsOutputFile() {
    if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
}

bool WindowsOutputFile::Failed() {
    const DWORD code = GetLastError();
    uint32_t none = 0;
    m_error.compare_exchange_strong(none, code ? code : ERROR_WRITE_FAULT);
    return false;
}

bool WindowsOutputFile::WriteAt(uint64_t offset, const void* data, size_t size) {
    const auto* p = static_cast<const BYTE*>(data);
    while (size > 0) {
        const DWORD piece = DWORD(size < MaxPiece ? size : MaxPiece);
        OVERLAPPED at = At(offset);
        DWORD written = 0;
        if (!WriteFile(m_handle, p, piece, &written, &at)) return Failed();
        if (written != piece) {
            // A short write without a reason is a full disk.
            SetLastError(ERROR_DISK_FULL);
            return Failed();
        }
        p += piece;
        offset += piece;
        size -= piece;
    }
    return true;
}

bool WindowsOutputFile::ReadAt(uint64_t offset, void* data, size_t size) {
    auto* p = static_cast<BYTE*>(data);
    while (size > 0) {
        const DWORD piece = DWORD(size < MaxPiece ? size : MaxPiece);
        OVERLAPPED at = At(offset);
        DWORD read = 0;
        if (!ReadFile(m_handle, p, piece, &read, &at) || read != piece) return Failed();
        p += piece;
        offset += piece;
        size -= piece;
    }
    return true;
}

bool WindowsOutputFile::Truncate(uint64_t size) {
    LARGE_INTEGER end;
    end.QuadPart = LONGLONG(size);
    if (!SetFilePointerEx(m_handle, end, nullptr, FILE_BEGIN) || !SetEndOfFile(m_handle))
        return Failed();
    return true;
}

bool WindowsOutputFile::FlushToDisk() { return FlushFileBuffers(m_handle) || Failed(); }
