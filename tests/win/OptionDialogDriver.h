// The Option dialog opened by the main window's menu command and driven
// from a second thread, with the dialogs behind its buttons, the platform's
// colour and font dialogs among them.
#pragma once

#include <windows.h>

#include <functional>

// Sends "Options > Record ..." to the main window and gives drive() the
// dialog it opens; returns once that dialog has closed.
void FromMenu(const std::function<void(HWND dialog)>& drive);
// Presses a button of `dialog` that opens another dialog, drives that one
// and waits until it has closed.
void OpenFrom(HWND dialog, int button, const std::function<void(HWND opened)>& drive);

// In the platform's colour dialog: types the colour's parts and confirms.
void PickColour(HWND colourDialog, COLORREF colour);
// A face that the test environment always has (the set-up installs it).
constexpr char TestFontFace[] = "WenQuanYi Micro Hei";

// In the platform's font dialog: picks the face and the size (each when
// given) and the colour from their lists, as the user would, and confirms;
// cancels and returns false when a list lacks what is asked for.
bool PickFont(HWND fontDialog, const char* face, const char* size, COLORREF colour);
