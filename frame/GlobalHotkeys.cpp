#include "frame/GlobalHotkeys.h"

void CGlobalHotkeys::AddAtoms() {
    m_startId = GlobalAddAtomA("MyStartRecord");
    m_stopId = GlobalAddAtomA("MyEndRecord");
    m_pauseId = GlobalAddAtomA("MyPauseRecord");
}

bool CGlobalHotkeys::Register(HWND owner, const RecordSettings& s) {
    const bool start = RegisterHotKey(owner, m_startId, s.StartMod, s.StartKey);
    const bool stop = RegisterHotKey(owner, m_stopId, s.EndMod, s.EndKey);
    const bool pause = RegisterHotKey(owner, m_pauseId, s.PauseMod, s.PauseKey);
    return start && stop && pause;
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
