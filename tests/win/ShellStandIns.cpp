#include "tests/win/ShellStandIns.h"

#include <fstream>
#include <iterator>

#include "framework/ScopedHandles.h"
#include "tests/win/Waiting.h"
#include "tests/win/TestPaths.h"

namespace {

constexpr char PlayerClass[] = "BrantleTest.Player";
constexpr char BrowserKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\iexplore.exe";
constexpr char DllOverridesKey[] = "Software\\Wine\\DllOverrides";

void SetStringValue(HKEY root, const std::string& key, const char* name, const std::string& value) {
    ScopedRegKey opened;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, opened.Out(),
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(opened.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
}

void SetDefaultValue(HKEY root, const std::string& key, const std::string& value) {
    SetStringValue(root, key, nullptr, value);
}

std::string DefaultValue(HKEY root, const char* key) {
    char value[MAX_PATH] = {};
    LONG size = sizeof value;
    return RegQueryValueA(root, key, value, &size) == ERROR_SUCCESS ? value : "";
}

}  // namespace

ShellStandIns::ShellStandIns()
    : m_log(FreshTempPath("brantle_shell_starts.txt")),
      m_browserBefore(DefaultValue(HKEY_LOCAL_MACHINE, BrowserKey)) {
    const std::string standIn = BesideThisProgram("shell_stand_in.exe");
    // The shell reads file associations from the machine's classes only.
    SetDefaultValue(HKEY_CLASSES_ROOT, ".avi", PlayerClass);
    SetDefaultValue(HKEY_CLASSES_ROOT, std::string(PlayerClass) + "\\shell\\open\\command",
                    "\"" + standIn + "\" \"%1\"");
    // The shell starts the prefix's own iexplore.exe, a placeholder of Wine's
    // built-in browser; loaded as a native program it fails, and the shell
    // falls back to the registered path, the stand-in (measured, Wine 8).
    SetDefaultValue(HKEY_LOCAL_MACHINE, BrowserKey, standIn);
    SetStringValue(HKEY_CURRENT_USER, DllOverridesKey, "iexplore.exe", "native");
    SetEnvironmentVariableA("BRANTLE_STAND_IN_LOG", m_log.c_str());
}

ShellStandIns::~ShellStandIns() {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, PlayerClass);
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ".avi");
    SetDefaultValue(HKEY_LOCAL_MACHINE, BrowserKey, m_browserBefore);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, DllOverridesKey, "iexplore.exe");
    SetEnvironmentVariableA("BRANTLE_STAND_IN_LOG", nullptr);
    DeleteFileA(m_log.c_str());
}

std::vector<std::string> ShellStandIns::Starts() const {
    std::ifstream in(m_log, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    // Only whole lines: the stand-in may be writing the last one just now.
    std::vector<std::string> starts;
    for (size_t begin = 0, end; (end = text.find('\n', begin)) != std::string::npos;
         begin = end + 1)
        starts.push_back(text.substr(begin, end - begin));
    return starts;
}

bool ShellStandIns::WaitForStarts(size_t count, DWORD timeoutMs) const {
    return WaitUntil([&] { return Starts().size() >= count; }, timeoutMs);
}
