// The program's entry point and its one application object.
#include <windows.h>

#include "app/HalvexApp.h"

namespace {

CHalvexApp theApp;

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return AfxWinMain(); }
