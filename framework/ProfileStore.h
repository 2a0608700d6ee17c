// The application object's profile calls, as an interface, so that code that
// reads and writes settings can be exercised without the registry.
#pragma once

#include <string>
#include <vector>

class ProfileStore {
public:
    virtual ~ProfileStore() = default;

    // Each read returns the default (or false) when the value is absent or not
    // of the type the call reads.
    virtual int GetProfileInt(const char* section, const char* entry, int defaultValue) = 0;
    virtual std::string GetProfileString(const char* section, const char* entry,
                                         const char* defaultValue) = 0;
    virtual bool GetProfileBinary(const char* section, const char* entry,
                                  std::vector<unsigned char>& data) = 0;

    virtual bool WriteProfileInt(const char* section, const char* entry, int value) = 0;
    virtual bool WriteProfileString(const char* section, const char* entry, const char* value) = 0;
    virtual bool WriteProfileBinary(const char* section, const char* entry,
                                    const unsigned char* data, unsigned size) = 0;
};
