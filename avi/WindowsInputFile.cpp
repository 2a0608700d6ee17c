#include "avi/WindowsInputFile.h"

namespace {

// Larger reads go in pieces that a DWORD can count.
constexpr size_t MaxPiece = size_t(1) << 30;

}  // namespace

WindowsInputFile::WindowsInputFile(const std::string& path) {
    // The recorder holds its file open for writing: share writing, or the open fails.
    m_handle = CreateFileA(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    LARGE_INTEGER size;
    if (m_handle != INVALID_HANDLE_VALUE && GetFileSizeEx(m_handle, &size)) {
        m_size = uint64_t(size.QuadPart);
        return;
    }
    Failed();
    if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
}

WindowsInputFile::~WindowsInputFile() {
    if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
}

bool WindowsInputFile::Failed() {
    const DWORD code = GetLastError();
    if (!m_error) m_error = code ? code : ERROR_READ_FAULT;
    return false;
}

bool WindowsInputFile::ReadAt(uint64_t offset, void* data, size_t size) {
    auto* p = static_cast<BYTE*>(data);
    while (size > 0) {
        const DWORD piece = DWORD(size < MaxPiece ? size : MaxPiece);
        OVERLAPPED at{};
        at.Offset = DWORD(offset);
        at.OffsetHigh = DWORD(offset >> 32);
        DWORD read = 0;
        if (!ReadFile(m_handle, p, piece, &read, &at)) return Failed();
        if (read != piece) {
            SetLastError(ERROR_HANDLE_EOF);
            return Failed();
        }
        p += piece;
        offset += piece;
        size -= piece;
    }
    return true;
}
