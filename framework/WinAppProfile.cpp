#include <algorithm>
#include <cstring>

#include "framework/ScopedHandles.h"
#include "framework/WinApp.h"

std::string CWinApp::SectionPath(const char* section) const {
    return "Software\\" + m_registryKey + "\\" + m_appTitle + "\\" + section;
}

// Reads one value of exactly the wanted type; anything else counts as absent.
bool CWinApp::ReadValue(const char* section, const char* entry, DWORD wantedType,
                        std::vector<unsigned char>& data) {
    if (m_registryKey.empty()) return false;
    ScopedRegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, KEY_READ, key.Out()) !=
        ERROR_SUCCESS)
        return false;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.Get(), entry, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != wantedType)
        return false;
    data.assign(size, 0);
    if (RegQueryValueExA(key.Get(), entry, nullptr, &type, data.data(), &size) != ERROR_SUCCESS ||
        type != wantedType)
        return false;
    data.resize(size);
    return true;
}

bool CWinApp::WriteValue(const char* section, const char* entry, DWORD type, const void* data,
                         DWORD size) {
    if (m_registryKey.empty()) return false;
    ScopedRegKey key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, key.Out(),
                        nullptr) != ERROR_SUCCESS)
        return false;
    return RegSetValueExA(key.Get(), entry, 0, type, static_cast<const BYTE*>(data), size) ==
           ERROR_SUCCESS;
}

int CWinApp::GetProfileInt(const char* section, const char* entry, int defaultValue) {
    std::vector<unsigned char> data;
    if (!ReadValue(section, entry, REG_DWORD, data) || data.size() != sizeof(DWORD))
        return defaultValue;
    DWORD value;
    std::memcpy(&value, data.data(), sizeof value);
    return static_cast<int>(value);
}

std::string CWinApp::GetProfileString(const char* section, const char* entry,
                                      const char* defaultValue) {
    std::vector<unsigned char> data;
    if (!ReadValue(section, entry, REG_SZ, data)) return defaultValue;
    // The stored bytes need not end in a terminator; stop at the first one.
    const auto end = std::find(data.begin(), data.end(), '\0');
    return std::string(data.begin(), end);
}

bool CWinApp::GetProfileBinary(const char* section, const char* entry,
                               std::vector<unsigned char>& data) {
    data.clear();
    return ReadValue(section, entry, REG_BINARY, data);
}

bool CWinApp::WriteProfileInt(const char* section, const char* entry, int value) {
    const DWORD dword = static_cast<DWORD>(value);
    return WriteValue(section, entry, REG_DWORD, &dword, sizeof dword);
}

bool CWinApp::WriteProfileString(const char* section, const char* entry, const char* value) {
    return WriteValue(section, entry, REG_SZ, value, static_cast<DWORD>(std::strlen(value) + 1));
}

bool CWinApp::WriteProfileBinary(const char* section, const char* entry, const unsigned char* data,
                                 unsigned size) {
    return WriteValue(section, entry, REG_BINARY, data, size);
}
