// The names the user reads for hotkeys ("Ctrl+B") and for those that are
// not in force because another program or hotkey holds their keys.
#pragma once

#include <cstdint>
#include <string>

struct RecordSettings;

// Which of the three hotkeys are registered; one without a key counts as in force.
struct HotkeysInForce {
    bool start = true;
    bool stop = true;
    bool pause = true;

    bool All() const { return start && stop && pause; }
};

// key: a virtual key; mods: the registration's modifier bits.
std::string HotkeyName(uint16_t key, uint16_t mods);

// "Start (Ctrl+B), Pause (Ctrl+P)" for those not in force; empty when all are.
std::string HotkeysNotInForce(const RecordSettings& settings, const HotkeysInForce& inForce);
