#include "options/AudioDeviceList.h"

void AudioDeviceList::Add(const DeviceGuid* id, const std::string& description) {
    const int position = Count();
    if (position == Capacity) return;
    m_ids[position] = id ? *id : DeviceGuid{};
    if (id) m_chosen = position;
    m_descriptions.push_back(description);
}
