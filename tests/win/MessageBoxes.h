// Answering the message boxes that the code under test shows.
#pragma once

#include <windows.h>

#include <string>

// Waits (pumping messages) for a message box of this process, reads it as
// "caption|text", presses the button (IDOK, IDYES, ...) and returns what it
// read; empty when no box showed up within the limit.
std::string AnswerMessageBox(int button, DWORD timeoutMs = 10000);
