#include "engine/FileFailure.h"

#include <windows.h>

#include "framework/SystemErrorText.h"

std::string FileFailureText(const FileFailure& failure, const std::string& path) {
    const std::string reason = failure.tooLong
                                   ? std::string("The recording is too long for one file.")
                                   : SystemErrorText(failure.reasonCode);
    if (failure.step == FileStep::Create)
        return "Error Creating AVI File\n\n" + path + "\n" + reason;
    return "Error writing AVI file\n\n" + path + "\n" + reason +
           "\n\nThe recording was stopped. The file keeps what was recorded until then.";
}

void ShowFileFailure(const FileFailure& failure, const std::string& path, HWND owner) {
    MessageBoxA(owner, FileFailureText(failure, path).c_str(), "Error", MB_ICONWARNING | MB_OK);
}
