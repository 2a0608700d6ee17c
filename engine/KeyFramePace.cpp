#include "engine/KeyFramePace.h"

bool IsZmbvHandler(uint32_t fccHandler) {
    constexpr uint32_t lowerCase = 0x20202020;
    return (fccHandler | lowerCase) == (FourccZMBV | lowerCase);
}

KeyFramePace::KeyFramePace(uint32_t handler, int quality)
    : m_canHurry(IsZmbvHandler(handler) && quality > HurriedZmbvQuality), m_quality(quality) {}

int KeyFramePace::Quality() const { return m_hurried ? HurriedZmbvQuality : m_quality; }

void KeyFramePace::FellBehind() {
    if (m_canHurry) m_hurried = true;
}
