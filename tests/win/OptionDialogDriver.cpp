#include "tests/win/OptionDialogDriver.h"

#include <dlgs.h>
#include <gtest/gtest.h>

#include <string>

#include "res/resource.h"
#include "tests/win/DialogDriver.h"
#include "tests/win/RunningApp.h"

namespace {

// The colour dialog's edits for the red, green and blue parts.
constexpr int ColourRed = 706, ColourGreen = 707, ColourBlue = 708;

}  // namespace

void FromMenu(const std::function<void(HWND dialog)>& drive) {
    Driven([] { SendCommand(ID_OPTIONS_RECORD); }, MainWindow(), drive);
}

void OpenFrom(HWND dialog, int button, const std::function<void(HWND opened)>& drive) {
    Press(dialog, button);
    HWND opened = WaitForOwned(dialog);
    if (!opened) {
        ADD_FAILURE() << "button " << button << " opened nothing";
        return;
    }
    drive(opened);
    EXPECT_TRUE(Closed(opened)) << Caption(opened) << " stayed open";
}

void PickColour(HWND colourDialog, COLORREF colour) {
    Type(colourDialog, ColourRed, std::to_string(GetRValue(colour)));
    Type(colourDialog, ColourGreen, std::to_string(GetGValue(colour)));
    Type(colourDialog, ColourBlue, std::to_string(GetBValue(colour)));
    Press(colourDialog, IDOK);
}

namespace {

void SelectionChanged(HWND dialog, int combo) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(combo, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, combo)));
}

// Selects the first item that starts with the text.
bool ChooseItem(HWND dialog, int combo, const char* text) {
    if (SendDlgItemMessageA(dialog, combo, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(text)) == CB_ERR)
        return false;
    SelectionChanged(dialog, combo);
    return true;
}

// The colour list's items carry their colours.
bool ChooseColourItem(HWND dialog, COLORREF colour) {
    const int count = static_cast<int>(SendDlgItemMessageA(dialog, cmb4, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        if (static_cast<COLORREF>(SendDlgItemMessageA(dialog, cmb4, CB_GETITEMDATA, i, 0)) !=
            colour)
            continue;
        SendDlgItemMessageA(dialog, cmb4, CB_SETCURSEL, i, 0);
        SelectionChanged(dialog, cmb4);
        return true;
    }
    return false;
}

}  // namespace

bool PickFont(HWND fontDialog, const char* face, const char* size, COLORREF colour) {
    const bool chosen = (!face || ChooseItem(fontDialog, cmb1, face)) &&
                        (!size || ChooseItem(fontDialog, cmb3, size)) &&
                        ChooseColourItem(fontDialog, colour);
    Press(fontDialog, chosen ? IDOK : IDCANCEL);
    return chosen;
}
