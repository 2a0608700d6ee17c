#include "engine/FileFailure.h"

#include <windows.h>

namespace {

std::string SystemReason(uint32_t code) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string reason = length ? std::string(text, length) : std::string();
    if (text) LocalFree(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' '))
        reason.pop_back();
    return reason.empty() ? "System error " + std::to_string(code) + "." : reason;
}

}  // namespace

std::string FileFailureText(const FileFailure& failure, const std::string& path) {
    const std::string reason = failure.tooLong
                                   ? std::string("The recording is too long for one file.")
                                   : SystemReason(failure.reasonCode);
    if (failure.step == FileStep::Create)
        return "Error Creating AVI File\n\n" + path + "\n" + reason;
    return "Error writing AVI file\n\n" + path + "\n" + reason +
           "\n\nThe recording was stopped. The file keeps what was recorded until then.";
}

void ShowFileFailure(const FileFailure& failure, const std::string& path, HWND owner) {
    MessageBoxA(owner, FileFailureText(failure, path).c_str(), "Error", MB_ICONWARNING | MB_OK);
}
