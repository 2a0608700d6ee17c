// An in-memory profile that keeps the kind of each value, so that reads of
// the wrong kind fall back to their default as they do in the registry.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "framework/ProfileStore.h"

class FakeProfile : public ProfileStore {
public:
    enum class Kind { Int, String, Binary };
    struct Value {
        Kind kind;
        int number = 0;
        std::string text;
        std::vector<unsigned char> bytes;
    };

    int GetProfileInt(const char* section, const char* entry, int defaultValue) override;
    std::string GetProfileString(const char* section, const char* entry,
                                 const char* defaultValue) override;
    bool GetProfileBinary(const char* section, const char* entry,
                          std::vector<unsigned char>& data) override;
    bool WriteProfileInt(const char* section, const char* entry, int value) override;
    bool WriteProfileString(const char* section, const char* entry, const char* value) override;
    bool WriteProfileBinary(const char* section, const char* entry, const unsigned char* data,
                            unsigned size) override;

    // Values by "section\entry".
    std::map<std::string, Value> values;

private:
    const Value* Find(const char* section, const char* entry, Kind kind) const;
};
