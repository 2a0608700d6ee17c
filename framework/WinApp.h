// The application object's base: for now its profile calls, which keep
// settings under HKEY_CURRENT_USER\Software\<registry key>\<app title>\<section>.
#pragma once

#include <windows.h>

#include <string>

#include "framework/ProfileStore.h"

class CWinApp : public ProfileStore {
public:
    explicit CWinApp(const char* appTitle) : m_appTitle(appTitle) {}

    // Profile calls go to the registry only after this, as with the
    // platform framework; before it they read defaults and write nothing.
    void SetRegistryKey(const char* companyKey) { m_registryKey = companyKey; }
    const std::string& AppTitle() const { return m_appTitle; }

    int GetProfileInt(const char* section, const char* entry, int defaultValue) override;
    std::string GetProfileString(const char* section, const char* entry,
                                 const char* defaultValue) override;
    bool GetProfileBinary(const char* section, const char* entry,
                          std::vector<unsigned char>& data) override;
    bool WriteProfileInt(const char* section, const char* entry, int value) override;
    bool WriteProfileString(const char* section, const char* entry, const char* value) override;
    bool WriteProfileBinary(const char* section, const char* entry, const unsigned char* data,
                            unsigned size) override;

private:
    std::string SectionPath(const char* section) const;
    bool ReadValue(const char* section, const char* entry, DWORD wantedType,
                   std::vector<unsigned char>& data);
    bool WriteValue(const char* section, const char* entry, DWORD type, const void* data,
                    DWORD size);

    std::string m_appTitle;
    std::string m_registryKey;
};
