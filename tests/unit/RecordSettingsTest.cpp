#include <gtest/gtest.h>

#include <cstring>

#include "settings/RecordSettings.h"
#include "tests/support/FakeProfile.h"
#include "tests/support/SettingsExamples.h"

namespace {

std::string Key(const char* name) { return std::string(SettingsSection) + "\\" + name; }

void PutBytes(FakeProfile& p, const char* name, size_t size, unsigned char fill) {
    std::vector<unsigned char> bytes(size, fill);
    p.WriteProfileBinary(SettingsSection, name, bytes.data(), static_cast<unsigned>(size));
}

}  // namespace

TEST(RecordSettings, ConstructionGivesFirstRunValuesAndRecordOptions) {
    const RecordSettings s;
    ExpectFirstRunValues(s);
    ExpectFirstRunRecordOptions(s);
}

TEST(RecordSettings, LoadFromEmptyProfileRestoresEveryDefaultAndKeepsRecordOptions) {
    FakeProfile empty;
    RecordSettings s = EveryFieldChanged();
    s.TextFont = FontRecord{};  // a missing font keeps what was there
    s.VideoQuality = 100;
    s.RecordInterval = 20;
    s.KeyFrames = 1;
    s.PlayRate = 100;
    s.CurCompressorHandler = 0x31564944;
    LoadSettings(empty, s);
    ExpectFirstRunValues(s);
    EXPECT_EQ(s.VideoQuality, 100);
    EXPECT_EQ(s.RecordInterval, 20);
    EXPECT_EQ(s.KeyFrames, 1);
    EXPECT_EQ(s.PlayRate, 100);
    EXPECT_EQ(s.CurCompressorHandler, 0x31564944u);
}

TEST(RecordSettings, HotkeysKeepOnlyTheirLow16Bits) {
    EXPECT_EQ(HotkeyFromProfile(65602), 66);
    EXPECT_EQ(HotkeyFromProfile(-1), 0xFFFF);
    EXPECT_EQ(HotkeyFromProfile(0x12340000), 0);

    FakeProfile p;
    p.WriteProfileInt(SettingsSection, "StartKey", 65602);
    p.WriteProfileInt(SettingsSection, "PauseMod", 0x10004);
    RecordSettings s;
    LoadSettings(p, s);
    EXPECT_EQ(s.StartKey, 66);
    EXPECT_EQ(s.PauseMod, 4);
}

TEST(RecordSettings, FontIsTakenOnlyWhenExactly60Bytes) {
    FontRecord font{};
    font.lfHeight = 9;
    unsigned char bytes[61];
    std::memset(bytes, 0x41, sizeof bytes);
    EXPECT_FALSE(FontFromProfile(bytes, 59, font));
    EXPECT_FALSE(FontFromProfile(bytes, 61, font));
    EXPECT_FALSE(FontFromProfile(nullptr, 60, font));
    EXPECT_EQ(font.lfHeight, 9);
    EXPECT_TRUE(FontFromProfile(bytes, 60, font));
    EXPECT_EQ(font.lfHeight, 0x41414141);
    EXPECT_EQ(font.lfFaceName[31], 0x41);

    for (size_t wrongSize : {59u, 61u, 0u}) {
        FakeProfile p;
        PutBytes(p, "TextFont", wrongSize, 0x7F);
        RecordSettings s;
        LoadSettings(p, s);
        const FontRecord zero{};
        EXPECT_EQ(std::memcmp(&s.TextFont, &zero, sizeof zero), 0) << wrongSize << " bytes";
    }
}

TEST(RecordSettings, ValuesAreUsedAsStoredWithoutRangeChecks) {
    FakeProfile p;
    p.WriteProfileInt(SettingsSection, "RegionType", 7);
    p.WriteProfileInt(SettingsSection, "Width", -5);
    p.WriteProfileInt(SettingsSection, "CurCompressor", 99);
    p.WriteProfileInt(SettingsSection, "Audio Format", -1);
    RecordSettings s;
    LoadSettings(p, s);
    EXPECT_EQ(s.RegionType, 7);
    EXPECT_EQ(s.Width, -5);
    EXPECT_EQ(s.CurCompressor, 99);
    EXPECT_EQ(s.AudioFormat, -1);
}

TEST(RecordSettings, ValuesOfTheWrongKindTakeTheirDefaults) {
    FakeProfile p;
    p.WriteProfileString(SettingsSection, "Height", "480");
    p.WriteProfileInt(SettingsSection, "SavePath", 5);
    p.WriteProfileString(SettingsSection, "TextFont", std::string(60, 'x').c_str());
    PutBytes(p, "StartKey", 4, 1);
    RecordSettings s;
    LoadSettings(p, s);
    ExpectFirstRunValues(s);
}

TEST(RecordSettings, SaveWritesEveryPersistedValueUnderItsNameAndKind) {
    FakeProfile p;
    const RecordSettings s = EveryFieldChanged();
    SaveSettings(p, s);
    ASSERT_EQ(p.values.size(), 27u);
    for (const auto& v : PersistedValues) {
        auto found = p.values.find(Key(v.name));
        ASSERT_NE(found, p.values.end()) << v.name;
        const auto expected = v.kind == StoredKind::Dword    ? FakeProfile::Kind::Int
                              : v.kind == StoredKind::String ? FakeProfile::Kind::String
                                                             : FakeProfile::Kind::Binary;
        EXPECT_EQ(found->second.kind, expected) << v.name;
    }
    // Hotkeys are widened without sign; colours keep all 32 bits.
    EXPECT_EQ(p.values[Key("StartKey")].number, 65535);
    EXPECT_EQ(p.values[Key("PauseKey")].number, 0x8000);
    EXPECT_EQ(static_cast<uint32_t>(p.values[Key("RightColor")].number), 0xFFFFFFFFu);
    EXPECT_EQ(p.values[Key("TextFont")].bytes.size(), 60u);
    EXPECT_EQ(p.values[Key("SavePath")].text, "d:\\films\\clip one.avi");
}

TEST(RecordSettings, SaveThenLoadRoundTripsEveryField) {
    FakeProfile p;
    const RecordSettings saved = EveryFieldChanged();
    SaveSettings(p, saved);
    RecordSettings loaded;
    LoadSettings(p, loaded);
    ExpectSamePersistedFields(loaded, saved);
}
