#include "frame/GlobalHotkeys.h"

namespace {

bool RegisterOne(HWND owner, ATOM id, uint16_t mods, uint16_t key) {
    return key == 0 || RegisterHotKey(owner, id, mods, key);
}

}  // namespace

void CGlobalHotkeys::AddAtoms() {
    m_startId = GlobalAddAtomA("MyStartRecord");
    m_stopId = GlobalAddAtomA("MyEndRecord");
    m_pauseId = GlobalAddAtomA("MyPauseRecord");
}

void CGlobalHotkeys::Register(HWND owner, const RecordSettings& s) {
    m_inForce.start = RegisterOne(owner, m_startId, s.StartMod, s.StartKey);
    m_inForce.stop = RegisterOne(owner, m_stopId, s.EndMod, s.EndKey);
    m_inForce.pause = RegisterOne(owner, m_pauseId, s.PauseMod, s.PauseKey);
}

void CGlobalHotkeys::Unregister(HWND owner) {
    UnregisterHotKey(owner, m_startId);
    UnregisterHotKey(owner, m_stopId);
    UnregisterHotKey(owner, m_pauseId);
}

CGlobalHotkeys::Action CGlobalHotkeys::ActionFor(WPARAM id) const {
    if (id == m_startId) return Action::Start;
    if (id == m_stopId) return Action::Stop;
    if (id == m_pauseId) return Action::Pause;
    return Action::None;
}
