#include "tests/win/DialogDriver.h"

#include <gtest/gtest.h>

#include <thread>

#include "tests/win/Waiting.h"
#include "tests/win/SelectionHarness.h"

HWND FindDialog(DWORD thread, HWND owner) {
    struct Query {
        HWND owner, found;
    } query{owner, nullptr};
    EnumThreadWindows(
        thread,
        [](HWND w, LPARAM out) {
            auto* q = reinterpret_cast<Query*>(out);
            char cls[16] = {};
            GetClassNameA(w, cls, sizeof cls);
            if (std::string(cls) != "#32770" || !IsWindowVisible(w)) return TRUE;
            if (q->owner && GetWindow(w, GW_OWNER) != q->owner) return TRUE;
            q->found = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&query));
    return query.found;
}

HWND WaitForOwned(HWND owner) {
    const DWORD thread = GetWindowThreadProcessId(owner, nullptr);
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindDialog(thread, owner)) != nullptr; }, DialogWaitLimit);
    return found;
}

bool Closed(HWND window) {
    return WaitUntil([&] { return !IsWindow(window); }, DialogWaitLimit);
}

std::string Caption(HWND window) {
    char text[128] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string Text(HWND dialog, int id) {
    char text[512] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

void Type(HWND dialog, int id, const std::string& text) {
    SetDlgItemTextA(dialog, id, text.c_str());
}

void SaveDialogForReview(HWND dialog, const char* name) {
    // Paints on the dialog's own thread before this returns.
    RedrawWindow(dialog, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    SaveScreenForReview(name);
}

void Click(HWND dialog, int id) { SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0); }

void Press(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void Driven(const std::function<void()>& open, HWND owner,
            const std::function<void(HWND dialog)>& drive) {
    const DWORD self = GetCurrentThreadId();
    std::thread driver([&] {
        HWND dialog = nullptr;
        WaitUntil([&] { return (dialog = FindDialog(self, owner)) != nullptr; }, DialogWaitLimit);
        if (dialog)
            drive(dialog);
        else
            ADD_FAILURE() << "no dialog showed up";
        if (WaitUntil([&] { return !FindDialog(self); }, DialogWaitLimit)) return;
        ADD_FAILURE() << "a dialog was left open";
        WaitUntil([&] {
            if (HWND left = FindDialog(self)) PostMessageA(left, WM_COMMAND, IDCANCEL, 0);
            return !FindDialog(self);
        });
    });
    open();
    driver.join();
}
