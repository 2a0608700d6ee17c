#include "settings/RecordSettings.h"

#include <cstring>
#include <vector>

#include "framework/ProfileStore.h"

namespace {

// The persisted DWORD values by registry name. Colours are COLORREFs and the
// hotkeys keep only their low 16 bits, so each kind has its own table.
struct IntValue {
    const char* name;
    int RecordSettings::*field;
};
struct ColourValue {
    const char* name;
    uint32_t RecordSettings::*field;
};
struct HotkeyValue {
    const char* name;
    uint16_t RecordSettings::*field;
};
struct StringValue {
    const char* name;
    std::string RecordSettings::*field;
};

const IntValue IntValues[] = {
    {"AutoPlay", &RecordSettings::AutoPlay},
    {"Blink", &RecordSettings::Blink},
    {"Minimize", &RecordSettings::Minimize},
    {"ShowCursor", &RecordSettings::ShowCursor},
    {"CurCompressor", &RecordSettings::CurCompressor},
    {"ShowMouseDown", &RecordSettings::ShowMouseDown},
    {"LayeredCapture", &RecordSettings::LayeredCapture},
    {"RecordAudio", &RecordSettings::RecordAudio},
    {"ShowText", &RecordSettings::ShowText},
    {"TextPosX", &RecordSettings::TextPosX},
    {"TextPosY", &RecordSettings::TextPosY},
    {"Height", &RecordSettings::Height},
    {"Width", &RecordSettings::Width},
    {"RegionType", &RecordSettings::RegionType},
    {"Audio Format", &RecordSettings::AudioFormat},
};
const ColourValue ColourValues[] = {
    {"LeftColor", &RecordSettings::LeftColor},
    {"RightColor", &RecordSettings::RightColor},
    {"TextColor", &RecordSettings::TextColor},
};
const HotkeyValue HotkeyValues[] = {
    {"StartKey", &RecordSettings::StartKey}, {"StartMod", &RecordSettings::StartMod},
    {"EndKey", &RecordSettings::EndKey},     {"EndMod", &RecordSettings::EndMod},
    {"PauseKey", &RecordSettings::PauseKey}, {"PauseMod", &RecordSettings::PauseMod},
};
const StringValue StringValues[] = {
    {"SavePath", &RecordSettings::SavePath},
    {"TextString", &RecordSettings::TextString},
};
constexpr const char* FontValueName = "TextFont";

}  // namespace

uint16_t HotkeyFromProfile(int stored) { return static_cast<uint16_t>(stored & 0xFFFF); }

bool FontFromProfile(const unsigned char* data, size_t size, FontRecord& font) {
    if (data == nullptr || size != sizeof(FontRecord)) return false;
    std::memcpy(&font, data, sizeof(FontRecord));
    return true;
}

void LoadSettings(ProfileStore& profile, RecordSettings& settings) {
    const RecordSettings defaults;
    for (const auto& v : IntValues)
        settings.*v.field = profile.GetProfileInt(SettingsSection, v.name, defaults.*v.field);
    for (const auto& v : ColourValues)
        settings.*v.field = static_cast<uint32_t>(
            profile.GetProfileInt(SettingsSection, v.name, static_cast<int>(defaults.*v.field)));
    for (const auto& v : HotkeyValues)
        settings.*v.field =
            HotkeyFromProfile(profile.GetProfileInt(SettingsSection, v.name, defaults.*v.field));
    for (const auto& v : StringValues)
        settings.*v.field = profile.GetProfileString(SettingsSection, v.name, "");

    std::vector<unsigned char> font;
    if (profile.GetProfileBinary(SettingsSection, FontValueName, font))
        FontFromProfile(font.data(), font.size(), settings.TextFont);
}

void SaveSettings(ProfileStore& profile, const RecordSettings& settings) {
    for (const auto& v : IntValues)
        profile.WriteProfileInt(SettingsSection, v.name, settings.*v.field);
    for (const auto& v : ColourValues)
        profile.WriteProfileInt(SettingsSection, v.name, static_cast<int>(settings.*v.field));
    for (const auto& v : HotkeyValues)
        profile.WriteProfileInt(SettingsSection, v.name, settings.*v.field);
    for (const auto& v : StringValues)
        profile.WriteProfileString(SettingsSection, v.name, (settings.*v.field).c_str());
    profile.WriteProfileBinary(SettingsSection, FontValueName,
                               reinterpret_cast<const unsigned char*>(&settings.TextFont),
                               sizeof(FontRecord));
}
