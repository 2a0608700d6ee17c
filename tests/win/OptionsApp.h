// The program's application object in this test process, with its main
// window, its selection window and its profile under a registry key of the
// tests' own; the Option dialog opened by the menu command and driven from
// a second thread, with the platform's colour and font dialogs answered.
#pragma once

#include <windows.h>

#include <functional>

#include "app/HalvexApp.h"

// Made at the first call.
CHalvexApp& App();
HWND MainWindow();
// The top-left corner of the region last selected for a recording.
POINT RegionOrigin();

// Removes everything the tests' profile holds.
void ForgetProfile();
// An integer saved in the profile's settings, or NotSaved.
constexpr int NotSaved = -7777;
int Stored(const char* name);

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
