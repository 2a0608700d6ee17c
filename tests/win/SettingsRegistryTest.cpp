// Settings against the real registry: defaults, load rules, the exact names
// and types written, and a round trip.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "settings/RecordSettings.h"
#include "framework/ScopedHandles.h"
#include "framework/WinApp.h"
#include "tests/support/SettingsExamples.h"

namespace {

constexpr const char* CompanyKey = "Local AppWizard-Generated Applications";
constexpr const char* AppTitle = "Brantle for Windows";
constexpr const char* AppKeyPath =
    "Software\\Local AppWizard-Generated Applications\\Brantle for Windows";
constexpr const char* SectionPath =
    "Software\\Local AppWizard-Generated Applications\\Brantle for Windows\\Default";

class SettingsRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, AppKeyPath);
        app.SetRegistryKey(CompanyKey);
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, AppKeyPath); }

    void PutRaw(const char* name, DWORD type, const void* data, DWORD size) {
        ScopedRegKey key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, SectionPath, 0, nullptr, 0, KEY_WRITE, nullptr,
                                  key.Out(), nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(key.Get(), name, 0, type, static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
    }
    void PutDword(const char* name, DWORD value) { PutRaw(name, REG_DWORD, &value, sizeof value); }

    struct RawValue {
        DWORD type;
        std::string bytes;
    };
    std::map<std::string, RawValue> ReadAllRaw() {
        std::map<std::string, RawValue> values;
        ScopedRegKey key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, SectionPath, 0, KEY_READ, key.Out()) != ERROR_SUCCESS)
            return values;
        for (DWORD i = 0;; ++i) {
            char name[256];
            DWORD nameSize = sizeof name;
            if (RegEnumValueA(key.Get(), i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS)
                break;
            RawValue v{};
            char data[512];
            DWORD size = sizeof data;
            EXPECT_EQ(RegQueryValueExA(key.Get(), name, nullptr, &v.type,
                                       reinterpret_cast<BYTE*>(data), &size),
                      ERROR_SUCCESS);
            v.bytes.assign(data, size);
            values[name] = v;
        }
        return values;
    }

    CWinApp app{AppTitle};
};

DWORD AsDword(const std::string& bytes) {
    DWORD v = 0;
    std::memcpy(&v, bytes.data(), sizeof v);
    return v;
}

}  // namespace

TEST_F(SettingsRegistryTest, EmptyKeyGivesEveryDefault) {
    RecordSettings s = EveryFieldChanged();
    s.TextFont = FontRecord{};
    LoadSettings(app, s);
    ExpectFirstRunValues(s);
}

TEST_F(SettingsRegistryTest, ValuesOfTheWrongTypeTakeTheirDefaults) {
    PutRaw("Width", REG_SZ, "800", 4);
    PutRaw("AutoPlay", REG_BINARY, "\1\0\0\0", 4);
    PutDword("SavePath", 7);
    PutRaw("TextString", REG_BINARY, "abc", 3);
    const std::string sixty(60, 'F');
    PutRaw("TextFont", REG_SZ, sixty.c_str(), 60);
    PutRaw("StartKey", REG_QWORD, "\x41\0\0\0\0\0\0\0", 8);
    RecordSettings s;
    LoadSettings(app, s);
    ExpectFirstRunValues(s);
}

TEST_F(SettingsRegistryTest, FontOf59Or61BytesIsIgnoredAnd60IsTaken) {
    const std::string bytes(61, '\x21');
    for (DWORD size : {59u, 61u}) {
        PutRaw("TextFont", REG_BINARY, bytes.data(), size);
        RecordSettings s;
        LoadSettings(app, s);
        const FontRecord zero{};
        EXPECT_EQ(std::memcmp(&s.TextFont, &zero, sizeof zero), 0) << size;
    }
    PutRaw("TextFont", REG_BINARY, bytes.data(), 60);
    RecordSettings s;
    LoadSettings(app, s);
    EXPECT_EQ(s.TextFont.lfHeight, 0x21212121);
}

TEST_F(SettingsRegistryTest, HotkeysKeepTheLow16BitsAndOtherValuesAreNotRangeChecked) {
    PutDword("StartKey", 65602);
    PutDword("EndMod", 0xFFFF0001);
    PutDword("RegionType", 7);
    PutDword("CurCompressor", 0xFFFFFFFF);
    PutDword("LeftColor", 0xFF000001);
    PutRaw("SavePath", REG_SZ, "c:\\x.avi", 9);
    // A string stored without its terminator is still read whole.
    PutRaw("TextString", REG_SZ, "abc", 3);
    RecordSettings s;
    LoadSettings(app, s);
    EXPECT_EQ(s.StartKey, 66);
    EXPECT_EQ(s.EndMod, 1);
    EXPECT_EQ(s.RegionType, 7);
    EXPECT_EQ(s.CurCompressor, -1);
    EXPECT_EQ(s.LeftColor, 0xFF000001u);
    EXPECT_EQ(s.SavePath, "c:\\x.avi");
    EXPECT_EQ(s.TextString, "abc");
}

TEST_F(SettingsRegistryTest, SaveWritesEachValueWithItsExactNameAndType) {
    const RecordSettings saved = EveryFieldChanged();
    SaveSettings(app, saved);
    const auto raw = ReadAllRaw();
    EXPECT_EQ(raw.size(), 27u);
    for (const auto& v : PersistedValues) {
        auto found = raw.find(v.name);
        ASSERT_NE(found, raw.end()) << v.name;
        const DWORD type = v.kind == StoredKind::Dword    ? REG_DWORD
                           : v.kind == StoredKind::String ? REG_SZ
                                                          : REG_BINARY;
        EXPECT_EQ(found->second.type, type) << v.name;
    }
    EXPECT_EQ(AsDword(raw.at("StartKey").bytes), 0xFFFFu);
    EXPECT_EQ(AsDword(raw.at("CurCompressor").bytes), 0xFFFFFFFFu);
    EXPECT_EQ(AsDword(raw.at("Audio Format").bytes), 15u);
    EXPECT_EQ(raw.at("SavePath").bytes, std::string("d:\\films\\clip one.avi", 21) + '\0');
    EXPECT_EQ(raw.at("TextFont").bytes.size(), 60u);
    EXPECT_EQ(std::memcmp(raw.at("TextFont").bytes.data(), &saved.TextFont, 60), 0);
}

TEST_F(SettingsRegistryTest, SaveThenLoadRoundTripsEveryField) {
    const RecordSettings saved = EveryFieldChanged();
    SaveSettings(app, saved);
    RecordSettings loaded;
    LoadSettings(app, loaded);
    ExpectSamePersistedFields(loaded, saved);
}

TEST_F(SettingsRegistryTest, NothingIsReadOrWrittenBeforeTheRegistryKeyIsSet) {
    CWinApp unkeyed(AppTitle);
    SaveSettings(unkeyed, EveryFieldChanged());
    EXPECT_TRUE(ReadAllRaw().empty());
}
