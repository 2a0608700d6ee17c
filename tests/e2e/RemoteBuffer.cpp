#include "tests/e2e/RemoteBuffer.h"

RemoteBuffer::RemoteBuffer(HWND owner, size_t size) : m_size(size) {
    DWORD processId = 0;
    GetWindowThreadProcessId(owner, &processId);
    m_process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (m_process)
        m_address =
            VirtualAllocEx(m_process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteBuffer::~RemoteBuffer() {
    if (m_address) VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
    if (m_process) CloseHandle(m_process);
}

bool RemoteBuffer::Write(const void* data, size_t size, size_t offset) {
    return Ok() && offset + size <= m_size &&
           WriteProcessMemory(m_process, static_cast<char*>(m_address) + offset, data, size,
                              nullptr);
}

bool RemoteBuffer::Read(void* data, size_t size, size_t offset) const {
    return Ok() && offset + size <= m_size &&
           ReadProcessMemory(m_process, static_cast<char*>(m_address) + offset, data, size,
                             nullptr);
}
