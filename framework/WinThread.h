// Worker threads as objects: created suspended so the creator can fill the
// object in, they do their whole job in InitInstance, then end and delete
// themselves. (No message loop: none of the program's workers needs one.)
#pragma once

#include <windows.h>

class CWinThread {
public:
    CWinThread() = default;
    virtual ~CWinThread();
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    // The thread's work; the thread ends when it returns.
    virtual BOOL InitInstance() = 0;
    virtual int ExitInstance() { return 0; }

    DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
    HANDLE ThreadHandle() const { return m_hThread; }
    DWORD ThreadId() const { return m_nThreadID; }

    // Starts the thread suspended at the given priority; false on failure.
    bool CreateSuspended(int priority, unsigned stackSize);

    bool m_bAutoDelete = true;

private:
    static unsigned __stdcall ThreadMain(void* object);
    int Run();

    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
};

// Creates a thread object of class T and its thread; resumes it unless
// CREATE_SUSPENDED is given. Returns null (and deletes the object) on failure.
template <class T>
T* AfxBeginThread(int priority, unsigned stackSize, DWORD createFlags) {
    T* thread = new T;
    if (!thread->CreateSuspended(priority, stackSize)) {
        delete thread;
        return nullptr;
    }
    if (!(createFlags & CREATE_SUSPENDED)) thread->ResumeThread();
    return thread;
}
