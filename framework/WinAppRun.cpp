#include "framework/DocView.h"
#include "framework/FrameWnd.h"
#include "framework/WinApp.h"

namespace {

CWinApp* g_app = nullptr;

constexpr UINT AfxIdsAppTitle = 57344;
constexpr UINT IdFileNew = 57600;
constexpr UINT IdAppExit = 57665;

}  // namespace

CWinApp::CWinApp(const char* appTitle)
    : m_appTitle(appTitle ? appTitle : LoadResourceString(AfxIdsAppTitle)) {
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }

int AfxMessageBox(const char* text, UINT type) {
    CWinApp* app = AfxGetApp();
    HWND owner = app && app->m_pMainWnd ? app->m_pMainWnd->GetSafeHwnd() : nullptr;
    return MessageBoxA(owner, text, app ? app->AppTitle().c_str() : "", type);
}

int CWinApp::Run() {
    MSG msg{};
    bool idle = true;
    for (;;) {
        if (idle && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (m_pMainWnd && m_pMainWnd->GetSafeHwnd()) m_pMainWnd->UpdateToolBarButtons();
            idle = false;
        }
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            m_exitCode = static_cast<int>(msg.wParam);
            return m_exitCode;
        }
        if (got == -1) return m_exitCode;
        HWND main = m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : nullptr;
        if (main && m_pMainWnd->Accelerators() &&
            (msg.hwnd == main || IsChild(main, msg.hwnd)) &&
            TranslateAcceleratorA(main, m_pMainWnd->Accelerators(), &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        idle = true;
    }
}

bool CWinApp::OnCommand(UINT id) {
    switch (id) {
        case IdFileNew:
            OnFileNew();
            return true;
        case IdAppExit:
            if (m_pMainWnd) SendMessageA(m_pMainWnd->GetSafeHwnd(), WM_CLOSE, 0, 0);
            return true;
        default:
            return false;
    }
}

void CWinApp::AddDocTemplate(std::unique_ptr<CSingleDocTemplate> docTemplate) {
    m_docTemplate = std::move(docTemplate);
}

BOOL CWinApp::ProcessShellCommand() {
    OnFileNew();
    return m_pMainWnd != nullptr;
}

void CWinApp::OnFileNew() {
    if (!m_docTemplate) return;
    if (CFrameWnd* frame = m_docTemplate->OpenDocumentFile(); frame && !m_pMainWnd)
        m_pMainWnd = frame;
}

int AfxWinMain() {
    CWinApp* app = AfxGetApp();
    if (!app) return -1;
    if (app->InitInstance()) app->Run();
    return app->ExitInstance();
}
