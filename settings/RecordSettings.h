// Every user choice that shapes a recording. One instance lives in the
// application object; other parts read and write its fields directly.
#pragma once

#include <cstdint>
#include <string>

class ProfileStore;

// Byte-for-byte the platform's LOGFONTA (60 bytes), kept free of <windows.h>
// so the settings logic builds natively.
struct FontRecord {
    int32_t lfHeight;
    int32_t lfWidth;
    int32_t lfEscapement;
    int32_t lfOrientation;
    int32_t lfWeight;
    uint8_t lfItalic;
    uint8_t lfUnderline;
    uint8_t lfStrikeOut;
    uint8_t lfCharSet;
    uint8_t lfOutPrecision;
    uint8_t lfClipPrecision;
    uint8_t lfQuality;
    uint8_t lfPitchAndFamily;
    char lfFaceName[32];
};
static_assert(sizeof(FontRecord) == 60, "TextFont is stored as exactly 60 bytes");

// How the region to record is chosen ("RegionType").
enum RegionTypeValue { RegionNormal = 0, RegionFixed = 1, RegionFullScreen = 2, RegionWindow = 3 };

// Hotkey modifiers as the hotkey registration takes them.
constexpr uint16_t HotkeyModControl = 2;

constexpr const char* SettingsSection = "Default";

struct RecordSettings {
    // Persisted in the profile section "Default"; the initial values are the
    // defaults a missing or unreadable value takes.
    int AutoPlay = 0;
    int Blink = 1;
    int Minimize = 1;
    int ShowCursor = 1;
    int CurCompressor = 0;  // position in the compressor catalogue; -1: none chosen
    int ShowMouseDown = 1;
    std::string SavePath;
    uint32_t LeftColor = 16776960;  // COLORREF: cyan
    uint32_t RightColor = 8257535;  // COLORREF: light yellow
    int LayeredCapture = 0;
    int RecordAudio = 0;
    int ShowText = 0;
    FontRecord TextFont{};
    int TextPosX = 0;
    int TextPosY = 0;
    std::string TextString;
    uint32_t TextColor = 0;
    int Height = 240;
    int Width = 320;
    int RegionType = RegionNormal;
    uint16_t StartKey = 'B';
    uint16_t StartMod = HotkeyModControl;
    uint16_t EndKey = 'E';
    uint16_t EndMod = HotkeyModControl;
    uint16_t PauseKey = 'P';
    uint16_t PauseMod = HotkeyModControl;
    int AudioFormat = 0;  // "Audio Format": position among the capture formats; -1: none

    // Per-run record options, never persisted.
    int VideoQuality = 8500;                     // 0..10000
    uint32_t CurCompressorHandler = 0x4356534D;  // FOURCC "MSVC"
    int RecordInterval = 100;                    // ms between grabbed frames
    int KeyFrames = 5;
    int PlayRate = 10;  // frames per second in the file
};

// Reads the persisted values, each with its default; the per-run options are
// left untouched. No range checks: values are used as stored.
void LoadSettings(ProfileStore& profile, RecordSettings& settings);

// Writes the persisted values; the result of each write is ignored.
void SaveSettings(ProfileStore& profile, const RecordSettings& settings);

// Load rules that need no profile.
uint16_t HotkeyFromProfile(int stored);
bool FontFromProfile(const unsigned char* data, size_t size, FontRecord& font);
