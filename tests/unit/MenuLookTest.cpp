#include <gtest/gtest.h>

#include "menu/MenuLook.h"

TEST(MenuLook, OperatingSystemClassTable) {
    struct Row {
        bool nt;
        PlatformVersion version;
        int expected;
    };
    const Row rows[] = {
        {false, {3, 95}, 0}, {false, {4, 0}, 2},  {false, {4, 3}, 2}, {false, {5, 0}, 2},
        {false, {4, 10}, 3}, {false, {4, 90}, 4}, {true, {4, 0}, 5},  {true, {4, 10}, 5},
        {true, {5, 0}, 6},   {true, {5, 1}, 7},   {true, {5, 2}, 1},  {true, {3, 51}, 1},
        {true, {6, 1}, 1},   {true, {10, 0}, 1},
    };
    for (const Row& r : rows)
        EXPECT_EQ(OperatingSystemClass(r.nt, &r.version), r.expected)
            << (r.nt ? "NT " : "9x ") << r.version.major << "." << r.version.minor;
    // Without a version record only the family counts.
    EXPECT_EQ(OperatingSystemClass(false, nullptr), 2);
    EXPECT_EQ(OperatingSystemClass(true, nullptr), 1);
}

TEST(MenuLook, ClassicThemeIsNamedByTheEndOfTheThemeFile) {
    EXPECT_TRUE(IsClassicThemeFile("C:\\WINDOWS\\Resources\\Themes\\Windows Classic.theme"));
    EXPECT_TRUE(IsClassicThemeFile("windows classic.THEME"));
    EXPECT_FALSE(IsClassicThemeFile("C:\\WINDOWS\\Resources\\Themes\\Luna.theme"));
    EXPECT_FALSE(IsClassicThemeFile("Windows Classic.theme.bak"));
    EXPECT_FALSE(IsClassicThemeFile("Classic.theme"));
    EXPECT_FALSE(IsClassicThemeFile(""));
}

TEST(MenuLook, XpLookAndRoutineChoice) {
    EXPECT_TRUE(IsXpLook(7, false));
    EXPECT_FALSE(IsXpLook(7, true));
    EXPECT_FALSE(IsXpLook(1, false));
    EXPECT_FALSE(IsXpLook(6, false));

    EXPECT_TRUE(UsesFlatRoutine(false, TheMenuLook));
    EXPECT_FALSE(UsesFlatRoutine(true, TheMenuLook));
    MenuLookSettings classic;
    classic.drawMode = 2;
    EXPECT_FALSE(UsesFlatRoutine(false, classic));
}
