#include "framework/Wnd.h"

#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <tuple>

namespace {

// The object whose window this thread is creating, until WM_NCCREATE (or
// the first message before it) ties the two together.
thread_local CWnd* t_wndBeingCreated = nullptr;

}  // namespace

CWnd::~CWnd() {
    if (m_hWnd) DestroyWindow();
}

BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    int x, int y, int width, int height, HWND parent, HMENU idOrMenu, void* param) {
    t_wndBeingCreated = this;
    HWND wnd = CreateWindowExA(exStyle, className, windowName, style, x, y, width, height, parent,
                               idOrMenu, GetModuleHandleA(nullptr), param);
    t_wndBeingCreated = nullptr;
    return wnd != nullptr;
}

BOOL CWnd::DestroyWindow() { return m_hWnd && ::DestroyWindow(m_hWnd); }

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CALLBACK CWnd::DispatchMessageToObject(HWND wnd, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    auto* object = reinterpret_cast<CWnd*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
    if (object == nullptr && t_wndBeingCreated != nullptr) {
        object = t_wndBeingCreated;
        t_wndBeingCreated = nullptr;
        object->m_hWnd = wnd;
        SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    }
    if (object == nullptr) return DefWindowProcA(wnd, message, wParam, lParam);
    const LRESULT result = object->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
        object->m_hWnd = nullptr;
    }
    return result;
}

const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
    using Key = std::tuple<UINT, HCURSOR, HBRUSH, HICON>;
    static std::mutex lock;
    static std::map<Key, std::string> registered;

    std::lock_guard<std::mutex> guard(lock);
    const Key key{classStyle, cursor, background, icon};
    auto found = registered.find(key);
    if (found != registered.end()) return found->second.c_str();

    char name[96];
    std::snprintf(name, sizeof name, "BrantleWnd:%x:%p:%p:%p", classStyle,
                  static_cast<void*>(cursor), static_cast<void*>(background),
                  static_cast<void*>(icon));
    WNDCLASSA wc{};
    wc.style = classStyle;
    wc.lpfnWndProc = &CWnd::DispatchMessageToObject;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = name;
    RegisterClassA(&wc);
    return registered.emplace(key, name).first->second.c_str();
}
