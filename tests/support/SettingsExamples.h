// Expectations about RecordSettings shared by the native and the Windows
// tests: the documented first-run values, a record with every persisted
// field changed, and a field-by-field comparison.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "settings/RecordSettings.h"

inline void ExpectFirstRunValues(const RecordSettings& s) {
    EXPECT_EQ(s.AutoPlay, 0);
    EXPECT_EQ(s.Blink, 1);
    EXPECT_EQ(s.Minimize, 1);
    EXPECT_EQ(s.ShowCursor, 1);
    EXPECT_EQ(s.CurCompressor, 0);
    EXPECT_EQ(s.ShowMouseDown, 1);
    EXPECT_EQ(s.SavePath, "");
    EXPECT_EQ(s.LeftColor, 0xFFFF00u);
    EXPECT_EQ(s.RightColor, 0x7DFFFFu);
    EXPECT_EQ(s.LayeredCapture, 0);
    EXPECT_EQ(s.RecordAudio, 0);
    EXPECT_EQ(s.ShowText, 0);
    const FontRecord zero{};
    EXPECT_EQ(std::memcmp(&s.TextFont, &zero, sizeof zero), 0);
    EXPECT_EQ(s.TextPosX, 0);
    EXPECT_EQ(s.TextPosY, 0);
    EXPECT_EQ(s.TextString, "");
    EXPECT_EQ(s.TextColor, 0u);
    EXPECT_EQ(s.Height, 240);
    EXPECT_EQ(s.Width, 320);
    EXPECT_EQ(s.RegionType, 0);
    EXPECT_EQ(s.StartKey, 0x42);
    EXPECT_EQ(s.StartMod, 2);
    EXPECT_EQ(s.EndKey, 0x45);
    EXPECT_EQ(s.EndMod, 2);
    EXPECT_EQ(s.PauseKey, 0x50);
    EXPECT_EQ(s.PauseMod, 2);
    EXPECT_EQ(s.AudioFormat, 0);
}

inline void ExpectFirstRunRecordOptions(const RecordSettings& s) {
    EXPECT_EQ(s.VideoQuality, 8500);
    EXPECT_EQ(s.CurCompressorHandler, 0x4356534Du);
    EXPECT_EQ(s.RecordInterval, 100);
    EXPECT_EQ(s.KeyFrames, 5);
    EXPECT_EQ(s.PlayRate, 10);
}

// Every persisted field away from its default, at the edges of its type.
inline RecordSettings EveryFieldChanged() {
    RecordSettings s;
    s.AutoPlay = 1;
    s.Blink = 0;
    s.Minimize = 0;
    s.ShowCursor = 0;
    s.CurCompressor = -1;
    s.ShowMouseDown = 0;
    s.SavePath = "d:\\films\\clip one.avi";
    s.LeftColor = 0x00123456;
    s.RightColor = 0xFFFFFFFF;
    s.LayeredCapture = 1;
    s.RecordAudio = 1;
    s.ShowText = 1;
    s.TextFont.lfHeight = -13;
    s.TextFont.lfWeight = 700;
    s.TextFont.lfItalic = 1;
    s.TextFont.lfCharSet = 134;
    std::strcpy(s.TextFont.lfFaceName, "Arial");
    s.TextPosX = -20;
    s.TextPosY = 470;
    s.TextString = "Take 2";
    s.TextColor = 0x000000FF;
    s.Height = 600;
    s.Width = 800;
    s.RegionType = 3;
    s.StartKey = 0xFFFF;
    s.StartMod = 7;
    s.EndKey = 'X';
    s.EndMod = 4;
    s.PauseKey = 0x8000;
    s.PauseMod = 1;
    s.AudioFormat = 15;
    return s;
}

inline void ExpectSamePersistedFields(const RecordSettings& a, const RecordSettings& b) {
    EXPECT_EQ(a.AutoPlay, b.AutoPlay);
    EXPECT_EQ(a.Blink, b.Blink);
    EXPECT_EQ(a.Minimize, b.Minimize);
    EXPECT_EQ(a.ShowCursor, b.ShowCursor);
    EXPECT_EQ(a.CurCompressor, b.CurCompressor);
    EXPECT_EQ(a.ShowMouseDown, b.ShowMouseDown);
    EXPECT_EQ(a.SavePath, b.SavePath);
    EXPECT_EQ(a.LeftColor, b.LeftColor);
    EXPECT_EQ(a.RightColor, b.RightColor);
    EXPECT_EQ(a.LayeredCapture, b.LayeredCapture);
    EXPECT_EQ(a.RecordAudio, b.RecordAudio);
    EXPECT_EQ(a.ShowText, b.ShowText);
    EXPECT_EQ(std::memcmp(&a.TextFont, &b.TextFont, sizeof(FontRecord)), 0);
    EXPECT_EQ(a.TextPosX, b.TextPosX);
    EXPECT_EQ(a.TextPosY, b.TextPosY);
    EXPECT_EQ(a.TextString, b.TextString);
    EXPECT_EQ(a.TextColor, b.TextColor);
    EXPECT_EQ(a.Height, b.Height);
    EXPECT_EQ(a.Width, b.Width);
    EXPECT_EQ(a.RegionType, b.RegionType);
    EXPECT_EQ(a.StartKey, b.StartKey);
    EXPECT_EQ(a.StartMod, b.StartMod);
    EXPECT_EQ(a.EndKey, b.EndKey);
    EXPECT_EQ(a.EndMod, b.EndMod);
    EXPECT_EQ(a.PauseKey, b.PauseKey);
    EXPECT_EQ(a.PauseMod, b.PauseMod);
    EXPECT_EQ(a.AudioFormat, b.AudioFormat);
}

// The 27 persisted values by registry name, with the kind each is stored as.
enum class StoredKind { Dword, String, Binary };
struct StoredValue {
    const char* name;
    StoredKind kind;
};
inline constexpr StoredValue PersistedValues[] = {
    {"AutoPlay", StoredKind::Dword},      {"Blink", StoredKind::Dword},
    {"Minimize", StoredKind::Dword},      {"ShowCursor", StoredKind::Dword},
    {"CurCompressor", StoredKind::Dword}, {"ShowMouseDown", StoredKind::Dword},
    {"SavePath", StoredKind::String},     {"LeftColor", StoredKind::Dword},
    {"RightColor", StoredKind::Dword},    {"LayeredCapture", StoredKind::Dword},
    {"RecordAudio", StoredKind::Dword},   {"ShowText", StoredKind::Dword},
    {"TextFont", StoredKind::Binary},     {"TextPosX", StoredKind::Dword},
    {"TextPosY", StoredKind::Dword},      {"TextString", StoredKind::String},
    {"TextColor", StoredKind::Dword},     {"Height", StoredKind::Dword},
    {"Width", StoredKind::Dword},         {"RegionType", StoredKind::Dword},
    {"StartKey", StoredKind::Dword},      {"StartMod", StoredKind::Dword},
    {"EndKey", StoredKind::Dword},        {"EndMod", StoredKind::Dword},
    {"PauseKey", StoredKind::Dword},      {"PauseMod", StoredKind::Dword},
    {"Audio Format", StoredKind::Dword},
};
static_assert(sizeof(PersistedValues) / sizeof(PersistedValues[0]) == 27);
