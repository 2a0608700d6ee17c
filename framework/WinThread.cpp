#include "framework/WinThread.h"

#include <process.h>

CWinThread::~CWinThread() {
    if (m_hThread) CloseHandle(m_hThread);
}

bool CWinThread::CreateSuspended(int priority, unsigned stackSize) {
    unsigned id = 0;
    const uintptr_t handle =
        _beginthreadex(nullptr, stackSize, &CWinThread::ThreadMain, this, CREATE_SUSPENDED, &id);
    if (handle == 0) return false;
    m_hThread = reinterpret_cast<HANDLE>(handle);
    m_nThreadID = id;
    SetThreadPriority(m_hThread, priority);
    return true;
}

unsigned __stdcall CWinThread::ThreadMain(void* object) {
    return static_cast<unsigned>(static_cast<CWinThread*>(object)->Run());
}

int CWinThread::Run() {
    InitInstance();
    const int code = ExitInstance();
    if (m_bAutoDelete) delete this;
    return code;
}
