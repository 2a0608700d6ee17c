// The programs the shell would start for the recorder, replaced for a test
// by shell_stand_in.exe, which writes down what it was given: the player of
// .avi files (the "open" verb) and the browser. Set up for the lifetime of
// the object, in the test's Wine prefix; what was there before comes back.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class ShellStandIns {
public:
    ShellStandIns();
    ~ShellStandIns();
    ShellStandIns(const ShellStandIns&) = delete;
    ShellStandIns& operator=(const ShellStandIns&) = delete;

    // Every start so far, each its arguments on one line, oldest first.
    std::vector<std::string> Starts() const;
    // Waits (pumping messages) until at least `count` starts are written down.
    bool WaitForStarts(size_t count, DWORD timeoutMs = 10000) const;

private:
    std::string m_log;
    std::string m_browserBefore;
};
