// Waiting for a condition with a time limit while this thread's messages are
// pumped, so that the windows a test drives keep working meanwhile.
#pragma once

#include <windows.h>

#include <functional>

// Pumps messages and polls the condition until it holds or the limit passes.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);
// The same, checking at every turn that `kept` still holds: false as soon as
// it does not, so that a wait also watches for what must not happen meanwhile.
bool WaitUntilKeeping(const std::function<bool()>& condition, const std::function<bool()>& kept,
                      DWORD timeoutMs);
