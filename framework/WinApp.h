// The application object's base: start-up and shutdown around the message
// loop, the single-document template, commands that reach the application,
// and the profile calls, which keep settings under
// HKEY_CURRENT_USER\Software\<registry key>\<app title>\<section>.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "framework/CmdUI.h"
#include "framework/ProfileStore.h"

class CFrameWnd;
class CSingleDocTemplate;

class CWinApp : public ProfileStore {
public:
    // Without a title, the application title is string resource 57344.
    explicit CWinApp(const char* appTitle = nullptr);
    ~CWinApp() override;

    // Start-up; false ends the program at once (ExitInstance still runs).
    virtual BOOL InitInstance() { return TRUE; }
    // Shutdown; returns the process exit code.
    virtual int ExitInstance() { return m_exitCode; }
    // The message loop, with the main window's accelerators and idle-time
    // refresh of its toolbar; returns when the main window is gone.
    int Run();

    // Commands the main window did not handle itself.
    virtual bool OnCommand(UINT id);
    virtual void OnUpdateCommand(CCmdUI&) {}

    void AddDocTemplate(std::unique_ptr<CSingleDocTemplate> docTemplate);
    // With no document file named on the command line: a new empty
    // document in its frame and view. False when the frame cannot be made.
    BOOL ProcessShellCommand();
    void OnFileNew();

    CFrameWnd* m_pMainWnd = nullptr;

    // Profile calls go to the registry only after this, as with the
    // platform framework; before it they read defaults and write nothing.
    void SetRegistryKey(const char* companyKey) { m_registryKey = companyKey; }
    const std::string& AppTitle() const { return m_appTitle; }

    int GetProfileInt(const char* section, const char* entry, int defaultValue) override;
    std::string GetProfileString(const char* section, const char* entry,
                                 const char* defaultValue) override;
    bool GetProfileBinary(const char* section, const char* entry,
                          std::vector<unsigned char>& data) override;
    bool WriteProfileInt(const char* section, const char* entry, int value) override;
    bool WriteProfileString(const char* section, const char* entry, const char* value) override;
    bool WriteProfileBinary(const char* section, const char* entry, const unsigned char* data,
                            unsigned size) override;

private:
    std::string SectionPath(const char* section) const;
    bool ReadValue(const char* section, const char* entry, DWORD wantedType,
                   std::vector<unsigned char>& data);
    bool WriteValue(const char* section, const char* entry, DWORD type, const void* data,
                    DWORD size);

    std::string m_appTitle;
    std::string m_registryKey;
    std::unique_ptr<CSingleDocTemplate> m_docTemplate;
    int m_exitCode = 0;
};

// The one application object of the process (the last one constructed).
CWinApp* AfxGetApp();

// A message box owned by the main window, with the application title as caption.
int AfxMessageBox(const char* text, UINT type = MB_OK);

// Runs the application object: InitInstance, the message loop, ExitInstance.
int AfxWinMain();
