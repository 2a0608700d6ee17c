// The hotkey boxes a user sees when another program holds a combination:
// another process takes Ctrl+B before the main window is made, and again
// when the hotkey dialog is confirmed.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <future>
#include <string>

#include "res/resource.h"
#include "tests/win/DialogDriver.h"
#include "tests/win/MessageBoxes.h"
#include "tests/win/RunningApp.h"
#include "tests/win/ScreenProbe.h"
#include "tests/win/TestPaths.h"

namespace {

constexpr UINT CtrlB = 'B', CtrlE = 'E', CtrlP = 'P';

// hotkey_holder.exe holding Ctrl+B from the moment the object is made.
class CtrlBHolder {
public:
    CtrlBHolder() {
        constexpr char EventName[] = "Brantle test: Ctrl+B held";
        HANDLE held = CreateEventA(nullptr, TRUE, FALSE, EventName);
        std::string command = "\"" + BesideThisProgram("hotkey_holder.exe") + "\" " +
                              std::to_string(MOD_CONTROL) + " " + std::to_string(CtrlB) + " \"" +
                              EventName + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &m_process)) {
            const HANDLE either[] = {held, m_process.hProcess};
            m_holding = WaitForMultipleObjects(2, either, FALSE, 20000) == WAIT_OBJECT_0;
        }
        CloseHandle(held);
    }
    ~CtrlBHolder() { Release(); }
    bool Holding() const { return m_holding; }
    void Release() {
        if (!m_process.hProcess) return;
        TerminateProcess(m_process.hProcess, 0);
        WaitForSingleObject(m_process.hProcess, 10000);
        CloseHandle(m_process.hProcess);
        CloseHandle(m_process.hThread);
        m_process = {};
    }

private:
    PROCESS_INFORMATION m_process{};
    bool m_holding = false;
};

// Whether a combination is free: registered and given back at once.
bool Free(UINT key) {
    if (!RegisterHotKey(nullptr, 0x7000, MOD_CONTROL, key)) return false;
    UnregisterHotKey(nullptr, 0x7000);
    return true;
}

// Sets the start hotkey to Ctrl+B in the hotkey dialog and confirms it;
// returns the dialog's note, whether Ctrl+E was free while the dialog was
// open, and the box that follows (empty when none).
struct DialogRun {
    std::string note;
    bool ctrlEFreeMeanwhile = false;
    std::string box;
};
DialogRun SetCtrlBInHotkeyDialog() {
    DialogRun run;
    Driven([] { SendCommand(ID_OPTIONS_HOTKEY); }, MainWindow(), [&](HWND dialog) {
        run.note = Text(dialog, IDC_HOTKEY_NOTE);
        run.ctrlEFreeMeanwhile = Free(CtrlE);
        SendDlgItemMessageA(dialog, IDC_HOTKEY_START, HKM_SETHOTKEY, MAKEWORD(CtrlB, HOTKEYF_CONTROL),
                            0);
        Press(dialog, IDOK);
        ASSERT_TRUE(Closed(dialog));
        run.box = AnswerMessageBox(IDOK, 3000);
    });
    return run;
}

}  // namespace

TEST(HotkeyFailure, TakenCombinationsAreNamedAtCreationInTheDialogAndAfterIt) {
    ForgetSavedSettings();  // the default hotkeys: Ctrl+B, Ctrl+E, Ctrl+P
    CtrlBHolder holder;
    ASSERT_TRUE(holder.Holding()) << "the other program could not take Ctrl+B";

    auto box = std::async(std::launch::async, [] { return AnswerMessageBox(IDOK, 20000); });
    ASSERT_NE(MainWindow(), nullptr);  // made now, its box answered by the other thread
    EXPECT_EQ(box.get(), "Brantle for Windows|Failed to set hotkey!\n\nNot set: Start (Ctrl+B)");
    // The two that were free are the program's now.
    EXPECT_FALSE(Free(CtrlE));
    EXPECT_FALSE(Free(CtrlP));

    // The dialog releases the program's own hotkeys while it is open, so
    // their keys can be typed into it.
    const DialogRun taken = SetCtrlBInHotkeyDialog();
    EXPECT_EQ(taken.note, "Not set, as another program or hotkey has the keys: Start (Ctrl+B)");
    EXPECT_TRUE(taken.ctrlEFreeMeanwhile);
    EXPECT_EQ(taken.box, "Brantle for Windows|Fail to set hotkey!\n\nNot set: Start (Ctrl+B)");
    EXPECT_FALSE(Free(CtrlE));

    // With Ctrl+B free again, the same takes all three and shows no box.
    holder.Release();
    ASSERT_TRUE(Free(CtrlB));
    const DialogRun free = SetCtrlBInHotkeyDialog();
    EXPECT_EQ(free.box, "");
    EXPECT_FALSE(Free(CtrlB));
    EXPECT_FALSE(Free(CtrlE));
    EXPECT_FALSE(Free(CtrlP));
}
