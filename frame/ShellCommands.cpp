#include "frame/ShellCommands.h"

#include <shellapi.h>

#include "framework/PathParts.h"
#include "framework/WinApp.h"
#include "res/resource.h"

namespace {

// The file's full path along the platform's search path, or empty.
std::string SearchFile(const char* name) {
    char found[1024];
    const DWORD length = SearchPathA(nullptr, name, nullptr, sizeof found, found, nullptr);
    return length > 0 && length < sizeof found ? std::string(found, length) : std::string();
}

}  // namespace

void PlayRecordedFile(HWND owner, const std::string& path) {
    if (!path.empty()) ShellExecuteA(owner, "open", path.c_str(), "", "", SW_SHOW);
}

void OpenHelpContents() {
    const std::string help = SearchFile("quellon.chm");
    if (help.empty()) {
        AfxMessageBox("Can not find help file, please download it from:\n" BRANTLE_WEBSITE);
        return;
    }
    ShellExecuteA(nullptr, "open", help.c_str(), "", "", SW_SHOWNORMAL);
}

void OpenWebsite() {
    ShellExecuteA(nullptr, "open", "iexplore.exe", BRANTLE_WEBSITE, "", SW_SHOWNORMAL);
}

void RunConverter(const std::string& recording) {
    const std::string converter = SearchFile("avi2mpg.exe");
    if (converter.empty()) {
        AfxMessageBox("Can not find avi2mpg.exe, please download it from:\n" BRANTLE_WEBSITE);
        return;
    }
    // The converter opens with an AVI recording chosen, for the user to
    // convert; an MP4 recording is a film already, so it opens with none.
    const std::string arguments =
        IsAviPath(recording) ? "/preset \"" + recording + '"' : std::string();
    ShellExecuteA(nullptr, "", converter.c_str(), arguments.c_str(), "", SW_SHOWNORMAL);
}
