#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "options/AudioDeviceList.h"

namespace {

DeviceGuid IdNumber(uint32_t n) { return DeviceGuid{n, 0x1234, 0x5678, {1, 2, 3, 4, 5, 6, 7, 8}}; }

bool IsZero(const DeviceGuid& id) {
    const DeviceGuid zero{};
    return std::memcmp(&id, &zero, sizeof zero) == 0;
}

}  // namespace

TEST(AudioDeviceList, DefaultDeviceIsListedWithAZeroIdAndTheLastOneWithAnIdIsChosen) {
    AudioDeviceList devices;
    devices.Add(nullptr, "Primary Sound Driver");
    EXPECT_EQ(devices.Chosen(), -1);
    const DeviceGuid id = IdNumber(7);
    devices.Add(&id, "Line In");
    ASSERT_EQ(devices.Count(), 2);
    EXPECT_EQ(devices.Chosen(), 1);
    EXPECT_TRUE(IsZero(devices.Id(0)));
    EXPECT_EQ(devices.Id(1).Data1, 7u);
    EXPECT_EQ(devices.Id(1).Data4[7], 8);
    EXPECT_EQ(devices.Description(0), "Primary Sound Driver");
    EXPECT_EQ(devices.Description(1), "Line In");

    devices.Add(nullptr, "another default");  // keeps the last one with an id
    EXPECT_EQ(devices.Chosen(), 1);
    devices.ForgetChosen();
    EXPECT_EQ(devices.Chosen(), -1);
}

TEST(AudioDeviceList, ListsAtMost20AndIgnoresEveryLaterReport) {
    AudioDeviceList devices;
    for (uint32_t n = 0; n < 25; ++n) {
        const DeviceGuid id = IdNumber(n);
        devices.Add(&id, "device " + std::to_string(n));
    }
    devices.Add(nullptr, "late default");
    ASSERT_EQ(devices.Count(), AudioDeviceList::Capacity);
    EXPECT_EQ(devices.Chosen(), 19);
    EXPECT_EQ(devices.Id(19).Data1, 19u);
    EXPECT_EQ(devices.Description(19), "device 19");
}
