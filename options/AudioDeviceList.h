// The sound-capture devices as the platform reports them, and the rule that
// picks the one to record from.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Byte-for-byte the platform's GUID, kept free of <windows.h>.
struct DeviceGuid {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
static_assert(sizeof(DeviceGuid) == 16, "a device id is a 16-byte GUID");

class AudioDeviceList {
public:
    static constexpr int Capacity = 20;

    // One report of the platform's enumeration; `id` is null for its default
    // device, which is listed with an all-zero id and never chosen. A report
    // with an id becomes the chosen device. Reports past 20 are ignored.
    void Add(const DeviceGuid* id, const std::string& description);

    // The chosen device could not be opened: record from none.
    void ForgetChosen() { m_chosen = -1; }

    int Count() const { return static_cast<int>(m_descriptions.size()); }
    int Chosen() const { return m_chosen; }  // -1: none
    const DeviceGuid& Id(int index) const { return m_ids[index]; }
    const std::string& Description(int index) const { return m_descriptions[index]; }

private:
    std::array<DeviceGuid, Capacity> m_ids{};
    std::vector<std::string> m_descriptions;
    int m_chosen = -1;
};
