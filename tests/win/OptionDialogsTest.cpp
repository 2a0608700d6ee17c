// The option dialogs and the dialog framework under them. Each dialog runs
// modally on the test thread while a second thread acts as the user: it waits
// for the dialog, changes its controls, presses its buttons and notes what it
// saw. Buttons are pressed by posting their command, so that a window the
// press opens never blocks the driver.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

#include "framework/Dialog.h"
#include "options/HotKeyOptionsDlg.h"
#include "options/OptionDlg.h"
#include "options/OutputFileDlg.h"
#include "region/MouseCaptureWnd.h"
#include "res/resource.h"
#include "settings/RecordSettings.h"
#include "tests/support/FakeProfile.h"
#include "tests/win/DialogDriver.h"
#include "tests/win/SelectionHarness.h"
#include "tests/win/TestPaths.h"
#include "tests/win/Waiting.h"

namespace {

constexpr int MessageBoxText = 0xFFFF;  // the id of the static holding a message box's text

// Runs open() on this thread while a second one drives its dialog, and
// returns open()'s result.
template <class Open>
auto DrivenResult(Open open, const std::function<void(HWND dialog)>& drive) {
    decltype(open()) result{};
    Driven([&] { result = open(); }, nullptr, drive);
    return result;
}

uint16_t HotkeyIn(HWND dialog, int id) {
    return static_cast<uint16_t>(SendDlgItemMessageA(dialog, id, HKM_GETHOTKEY, 0, 0));
}

void SetHotkey(HWND dialog, int id, BYTE key, BYTE flags) {
    SendDlgItemMessageA(dialog, id, HKM_SETHOTKEY, MAKEWORD(key, flags), 0);
}

}  // namespace

TEST(HotKeyOptionsDlg, ShowsTheHotkeysInTheControlsLayoutAndCancelChangesNothing) {
    RecordSettings settings;  // Ctrl+B, Ctrl+E, Ctrl+P
    settings.EndMod = MOD_SHIFT;
    settings.PauseMod = MOD_ALT | MOD_CONTROL;
    uint16_t start = 0, stop = 0, pause = 0;
    const bool changed = DrivenResult([&] { return EditHotkeys(settings, nullptr, {}); },
                                      [&](HWND dialog) {
                                          EXPECT_EQ(Caption(dialog), "HotKey Options");
                                          start = HotkeyIn(dialog, IDC_HOTKEY_START);
                                          stop = HotkeyIn(dialog, IDC_HOTKEY_STOP);
                                          pause = HotkeyIn(dialog, IDC_HOTKEY_PAUSE);
                                          SetHotkey(dialog, IDC_HOTKEY_START, VK_F9, HOTKEYF_ALT);
                                          Press(dialog, IDCANCEL);
                                      });
    EXPECT_EQ(start, 0x242);  // B with the control's Control bit
    EXPECT_EQ(stop, 0x145);   // E with Shift
    EXPECT_EQ(pause, 0x650);  // P with Control and Alt
    EXPECT_FALSE(changed);
    EXPECT_EQ(settings.StartKey, 'B');
    EXPECT_EQ(settings.StartMod, MOD_CONTROL);
    EXPECT_EQ(settings.EndMod, MOD_SHIFT);
}

TEST(HotKeyOptionsDlg, OkStoresEachControlsHotkeyWithRegistrationModifiers) {
    RecordSettings settings;
    const bool changed =
        DrivenResult([&] { return EditHotkeys(settings, nullptr, {}); },
                     [&](HWND dialog) {
                         SetHotkey(dialog, IDC_HOTKEY_START, VK_F9, HOTKEYF_ALT);
                         SetHotkey(dialog, IDC_HOTKEY_STOP, 'R', HOTKEYF_CONTROL | HOTKEYF_SHIFT);
                         SetHotkey(dialog, IDC_HOTKEY_PAUSE, VK_F9, 0);
                         Press(dialog, IDOK);
                     });
    EXPECT_TRUE(changed);
    EXPECT_EQ(settings.StartKey, 0x78);
    EXPECT_EQ(settings.StartMod, MOD_ALT);
    EXPECT_EQ(settings.EndKey, 'R');
    EXPECT_EQ(settings.EndMod, MOD_CONTROL | MOD_SHIFT);
    EXPECT_EQ(settings.PauseKey, 0x78);
    EXPECT_EQ(settings.PauseMod, 0);
}

TEST(HotKeyOptionsDlg, AHotkeyNotInForceShowsAsNotSetWithANoteNamingIt) {
    RecordSettings settings;  // Ctrl+B, Ctrl+E, Ctrl+P
    HotkeysInForce inForce;
    inForce.pause = false;
    uint16_t start = 0, pause = 1;
    std::string note;
    DrivenResult([&] { return EditHotkeys(settings, nullptr, inForce); },
                 [&](HWND dialog) {
                     start = HotkeyIn(dialog, IDC_HOTKEY_START);
                     pause = HotkeyIn(dialog, IDC_HOTKEY_PAUSE);
                     note = Text(dialog, IDC_HOTKEY_NOTE);
                     Press(dialog, IDCANCEL);
                 });
    EXPECT_EQ(start, 0x242);
    EXPECT_EQ(pause, 0);
    EXPECT_EQ(note, "Not set, as another program or hotkey has the keys: Pause (Ctrl+P)");
}

namespace {

// Sets the process's current folder for one test and restores it afterwards.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::string& folder) {
        GetCurrentDirectoryA(MAX_PATH, m_saved);
        CreateDirectoryA(folder.c_str(), nullptr);
        EXPECT_TRUE(SetCurrentDirectoryA(folder.c_str())) << folder;
    }
    ~CurrentFolder() { SetCurrentDirectoryA(m_saved); }

private:
    char m_saved[MAX_PATH] = {};
};

// Read from the map: with <windows.h> the profile's GetProfileString is a macro.
std::string SavedPath(const FakeProfile& profile) {
    const auto found = profile.values.find(std::string(SettingsSection) + "\\SavePath");
    return found == profile.values.end() ? "unsaved" : found->second.text;
}

void RunOutputDialog(RecordSettings& settings, FakeProfile& profile,
                     const std::function<void(HWND dialog)>& drive) {
    OutputFiles files;
    Driven([&] { EnterOutputFileName(settings, profile, files, nullptr); }, nullptr, drive);
}

// The path shown after pressing "Default" and confirming.
std::string DefaultPathIn(const std::string& folder, RecordSettings& settings) {
    CurrentFolder current(folder);
    FakeProfile profile;
    std::string shown;
    settings.SavePath = "none yet";
    RunOutputDialog(settings, profile, [&](HWND dialog) {
        Press(dialog, IDC_OUTPUT_DEFAULT);
        WaitUntil([&] { return Text(dialog, IDC_OUTPUT_PATH) != "none yet"; }, DialogWaitLimit);
        shown = Text(dialog, IDC_OUTPUT_PATH);
        Press(dialog, IDOK);
    });
    EXPECT_EQ(settings.SavePath, shown);
    return shown;
}

}  // namespace

TEST(OutputFileDlg, ShowsTheSavePathAndCancelKeepsItButStillSaves) {
    RecordSettings settings;
    settings.SavePath = "C:\\clips\\old.avi";
    FakeProfile profile;
    std::string shown;
    RunOutputDialog(settings, profile, [&](HWND dialog) {
        EXPECT_EQ(Caption(dialog), "Set output file ");
        shown = Text(dialog, IDC_OUTPUT_PATH);
        SetDlgItemTextA(dialog, IDC_OUTPUT_PATH, "C:\\clips\\new.avi");
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(shown, "C:\\clips\\old.avi");
    EXPECT_EQ(settings.SavePath, "C:\\clips\\old.avi");
    EXPECT_EQ(SavedPath(profile), "C:\\clips\\old.avi");
}

TEST(OutputFileDlg, OkStoresTheTypedPathAndSavesIt) {
    RecordSettings settings;
    FakeProfile profile;
    RunOutputDialog(settings, profile, [&](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_OUTPUT_PATH, "D:\\typed here.avi");
        Press(dialog, IDOK);
    });
    EXPECT_EQ(settings.SavePath, "D:\\typed here.avi");
    EXPECT_EQ(SavedPath(profile), "D:\\typed here.avi");
}

TEST(OutputFileDlg, DefaultIsTestcapInTheCurrentFolderWithTheRootsBackslashKept) {
    RecordSettings settings;
    const std::string folder = TempPath("brantle-output-dlg");
    EXPECT_EQ(DefaultPathIn(folder, settings), folder + "\\testcap.avi");
    EXPECT_EQ(DefaultPathIn("C:\\", settings), "C:\\\\testcap.avi");
}

// The save dialog's file name box. The file chosen there exists: the
// dialog is asked to insist on that (Wine's does not), and to have a
// replacement confirmed.
constexpr int SaveDialogFileName = 0x47C;

TEST(OutputFileDlg, BrowseCancelledKeepsThePathAndAChosenFileReplacesIt) {
    const std::string folder = TempPath("brantle-output-dlg");
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string file = folder + "\\chosen.avi";
    CloseHandle(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    RecordSettings settings;
    settings.SavePath = "C:\\clips\\old.avi";
    FakeProfile profile;
    std::string afterCancel, afterChoice, prompt;
    RunOutputDialog(settings, profile, [&](HWND dialog) {
        Press(dialog, IDC_OUTPUT_BROWSE);
        if (HWND save = WaitForOwned(dialog)) {
            Press(save, IDCANCEL);
            EXPECT_TRUE(Closed(save));
        }
        afterCancel = Text(dialog, IDC_OUTPUT_PATH);

        Press(dialog, IDC_OUTPUT_BROWSE);
        if (HWND save = WaitForOwned(dialog)) {
            SetDlgItemTextA(save, SaveDialogFileName, file.c_str());
            Press(save, IDOK);
            if (HWND box = WaitForOwned(save)) {
                prompt = Text(box, MessageBoxText);
                Press(box, IDYES);
            }
            EXPECT_TRUE(Closed(save));
        }
        afterChoice = Text(dialog, IDC_OUTPUT_PATH);
        Press(dialog, IDOK);
    });
    EXPECT_EQ(afterCancel, "C:\\clips\\old.avi");
    EXPECT_NE(prompt.find("replace"), std::string::npos) << prompt;
    EXPECT_EQ(afterChoice, file);
    EXPECT_EQ(settings.SavePath, file);
    DeleteFileA(file.c_str());
}

namespace {

// A number in the output dialog's edit control, and a text in its "..."
// button, which shows whether the exchange went on after a failure.
class NumberDialog : public CDialog {
public:
    NumberDialog() : CDialog(IDD_OUTPUT_FILE) {}
    int Number = 7;
    std::string Label = "before";

protected:
    void DoDataExchange(CDataExchange& dx) override {
        DDX_Text(dx, IDC_OUTPUT_PATH, Number);
        DDX_Text(dx, IDC_OUTPUT_BROWSE, Label);
    }
};

}  // namespace

TEST(Dialog, NonIntegerTextIsRefusedWithAMessageAndTheFocusOnItsControl) {
    NumberDialog numbers;
    std::string shown, message;
    HWND focus = nullptr, edit = nullptr;
    const INT_PTR result = DrivenResult(
        [&] { return numbers.DoModal(nullptr); },
        [&](HWND dialog) {
            shown = Text(dialog, IDC_OUTPUT_PATH);
            edit = GetDlgItem(dialog, IDC_OUTPUT_PATH);
            SetDlgItemTextA(dialog, IDC_OUTPUT_PATH, "12x");
            SetDlgItemTextA(dialog, IDC_OUTPUT_BROWSE, "after");
            SendMessageA(dialog, WM_NEXTDLGCTL,
                         reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDCANCEL)), TRUE);
            Press(dialog, IDOK);
            if (HWND box = WaitForOwned(dialog)) {  // the message box, owned by the dialog
                message = Text(box, MessageBoxText);
                Press(box, IDOK);
                EXPECT_TRUE(Closed(box));
            }
            GUITHREADINFO gui{};
            gui.cbSize = sizeof gui;
            GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &gui);
            focus = gui.hwndFocus;
            Press(dialog, IDCANCEL);
        });
    EXPECT_EQ(shown, "7");
    EXPECT_EQ(message, "Please enter an integer.");
    EXPECT_EQ(focus, edit);
    EXPECT_EQ(result, IDCANCEL);  // still open after the failed OK
    EXPECT_EQ(numbers.Number, 7);
    EXPECT_EQ(numbers.Label, "before");  // the exchange stopped at the failure
}

TEST(Dialog, OkTakesIntegersWithBlanksAndSignAndEveryExchangedValue) {
    NumberDialog numbers;
    const INT_PTR result = DrivenResult([&] { return numbers.DoModal(nullptr); },
                                        [&](HWND dialog) {
                                            SetDlgItemTextA(dialog, IDC_OUTPUT_PATH, " -42 ");
                                            SetDlgItemTextA(dialog, IDC_OUTPUT_BROWSE, "after");
                                            Press(dialog, IDOK);
                                        });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(numbers.Number, -42);
    EXPECT_EQ(numbers.Label, "after");
}

TEST(OutputFileDlg, OkOnAnExistingFileAsksAndOnlyYesTakesItAsAgreedToReplace) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string existing = std::string(folder) + "brantle_existing.avi";
    CloseHandle(
        CreateFileA(existing.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    RecordSettings settings;
    FakeProfile profile;
    OutputFiles files;
    std::string question;
    bool stayedAfterNo = false;
    const bool confirmed =
        DrivenResult([&] { return EnterOutputFileName(settings, profile, files, nullptr); },
                     [&](HWND dialog) {
                         SetDlgItemTextA(dialog, IDC_OUTPUT_PATH, existing.c_str());
                         Press(dialog, IDOK);
                         HWND box = WaitForOwned(dialog);
                         question = Caption(box) + "|" + Text(box, 0xFFFF);
                         Press(box, IDNO);
                         WaitUntil([&] { return Closed(box); }, DialogWaitLimit);
                         stayedAfterNo = !Closed(dialog);
                         Press(dialog, IDOK);
                         Press(WaitForOwned(dialog), IDYES);
                     });
    DeleteFileA(existing.c_str());
    EXPECT_EQ(question,
              "Set output file|" + existing + " already exists.\nDo you want to replace it?");
    EXPECT_TRUE(stayedAfterNo);
    EXPECT_TRUE(confirmed);
    EXPECT_EQ(settings.SavePath, existing);
    EXPECT_EQ(files.replaceAgreed, existing);
}

namespace {

// Stands in for the main window that owns the Option dialog. Shown without
// activation, so that Wine does not hand it to a window manager and takes
// no time to hide it.
class MainWindowStandIn : public CWnd {
public:
    MainWindowStandIn() {
        CreateEx(0, AfxRegisterWndClass(0), "Main", WS_POPUP | WS_BORDER, 100, 100, 400, 300,
                 nullptr, nullptr);
        ShowWindow(SW_SHOWNA);
    }
};

}  // namespace

TEST(OptionDlg, SelectHidesTheDialogAndItsOwnerAndEscapeBringsThemBackWithTheSizeKept) {
    MainWindowStandIn main;
    CMouseCaptureWnd selection;
    ASSERT_TRUE(selection.CreateCaptureWnd());
    const HWND owner = main.GetSafeHwnd(), selectionWnd = selection.GetSafeHwnd();
    RecordSettings settings;
    settings.RegionType = RegionFixed;
    settings.Width = 321;
    FakeProfile profile;
    Driven([&] { EditGeneralOptions(settings, profile, selection, owner); }, owner,
           [&](HWND dialog) {
               Press(dialog, IDC_OPTION_SELECT);
               ASSERT_TRUE(WaitUntil([&] {
                   return GetForegroundWindow() == selectionWnd && !IsWindowVisible(dialog) &&
                          !IsWindowVisible(owner);
               }));
               PressKey(VK_ESCAPE);
               ASSERT_TRUE(WaitUntil([&] {
                   return GetForegroundWindow() == dialog && IsWindowVisible(owner) &&
                          !IsWindowVisible(selectionWnd);
               }));
               EXPECT_EQ(Text(dialog, IDC_OPTION_WIDTH), "321");
               Press(dialog, IDOK);
           });
    EXPECT_EQ(settings.Width, 321);
}
