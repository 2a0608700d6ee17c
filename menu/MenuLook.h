// Which look the menu takes: the platform's class, the classic-theme test
// and the fixed look settings. Kept free of <windows.h>.
#pragma once

#include <string>

// The platform version as the version record gives it.
struct PlatformVersion {
    unsigned major, minor;
};

// 0: 9x below 4; 2: other 9x (4.0 among them); 3: 4.10; 4: 4.90; 5: NT 4;
// 6: NT 5.0; 7: NT 5.1; 1: any other NT. Without a version record (null)
// only the family counts: 2 for 9x, 1 for NT.
int OperatingSystemClass(bool ntFamily, const PlatformVersion* version);

// True when the current theme's file name (the default value of the user's
// current-theme key) ends, compared without case, with "Windows Classic.theme".
bool IsClassicThemeFile(const std::string& themeFile);

// The XP look (plain button face, plain grey text) belongs to NT 5.1 with
// its own theme in use.
inline bool IsXpLook(int osClass, bool classicTheme) { return osClass == 7 && !classicTheme; }

// Fixed settings: the flat routine in both looks, pictures with their
// variants, accelerators lined up.
struct MenuLookSettings {
    int drawMode = 1;  // 1: flat; any other value: classic
    bool pictureEffects = true;
    bool alignAccelerators = true;
};
constexpr MenuLookSettings TheMenuLook{};

// The classic routine draws on palette devices and in any mode but the flat one.
inline bool UsesFlatRoutine(bool paletteDevice, const MenuLookSettings& look) {
    return !paletteDevice && look.drawMode == 1;
}
