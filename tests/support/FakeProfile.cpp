#include "tests/support/FakeProfile.h"

namespace {
std::string KeyOf(const char* section, const char* entry) {
    return std::string(section) + "\\" + entry;
}
}  // namespace

const FakeProfile::Value* FakeProfile::Find(const char* section, const char* entry,
                                            Kind kind) const {
    auto found = values.find(KeyOf(section, entry));
    return found != values.end() && found->second.kind == kind ? &found->second : nullptr;
}

int FakeProfile::GetProfileInt(const char* section, const char* entry, int defaultValue) {
    const Value* v = Find(section, entry, Kind::Int);
    return v ? v->number : defaultValue;
}

std::string FakeProfile::GetProfileString(const char* section, const char* entry,
                                          const char* defaultValue) {
    const Value* v = Find(section, entry, Kind::String);
    return v ? v->text : defaultValue;
}

bool FakeProfile::GetProfileBinary(const char* section, const char* entry,
                                   std::vector<unsigned char>& data) {
    const Value* v = Find(section, entry, Kind::Binary);
    data = v ? v->bytes : std::vector<unsigned char>{};
    return v != nullptr;
}

bool FakeProfile::WriteProfileInt(const char* section, const char* entry, int value) {
    values[KeyOf(section, entry)] = Value{Kind::Int, value, {}, {}};
    return true;
}

bool FakeProfile::WriteProfileString(const char* section, const char* entry, const char* value) {
    values[KeyOf(section, entry)] = Value{Kind::String, 0, value, {}};
    return true;
}

bool FakeProfile::WriteProfileBinary(const char* section, const char* entry,
                                     const unsigned char* data, unsigned size) {
    values[KeyOf(section, entry)] = Value{Kind::Binary, 0, {}, {data, data + size}};
    return true;
}
