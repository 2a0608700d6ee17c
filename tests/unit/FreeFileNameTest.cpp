#include <gtest/gtest.h>

#include <set>

#include "frame/FreeFileName.h"
#include "framework/PathParts.h"

namespace {

auto In(const std::set<std::string>& files) {
    return [&files](const std::string& path) { return files.count(path) != 0; };
}

}  // namespace

TEST(FreeFileName, TakesTheFirstFreeNumberBesideTheFile) {
    std::set<std::string> files;
    EXPECT_EQ(FreeFileName("C:\\Videos\\take.avi", In(files)), "C:\\Videos\\take.avi");
    files = {"C:\\Videos\\take.avi", "C:\\Videos\\take (2).avi", "C:\\Videos\\take (4).avi"};
    EXPECT_EQ(FreeFileName("C:\\Videos\\take.avi", In(files)), "C:\\Videos\\take (3).avi");
}

TEST(FreeFileName, ADotOfAFolderOrALeadingDotIsNoExtension) {
    EXPECT_EQ(NumberedFileName("C:\\my.films\\take", 2), "C:\\my.films\\take (2)");
    EXPECT_EQ(NumberedFileName("C:\\films\\.take", 3), "C:\\films\\.take (3)");
    EXPECT_EQ(NumberedFileName("take.old.avi", 2), "take.old (2).avi");
    EXPECT_EQ(NumberedFileName("D:take.avi", 5), "D:take (5).avi");
}

TEST(FreeFileName, AnAviPathIsKnownByItsExtensionInAnyCase) {
    EXPECT_TRUE(IsAviPath("C:\\Videos\\take (2).AVI"));
    EXPECT_FALSE(IsAviPath("C:\\Videos\\take.mp4"));
    EXPECT_FALSE(IsAviPath("C:\\my.avi\\take"));
    EXPECT_FALSE(IsAviPath(""));
}

TEST(FreeFileName, GivesUpEmptyWhenEveryNumberIsTaken) {
    int asked = 0;
    const std::string found = FreeFileName("a.avi", [&asked](const std::string&) {
        ++asked;
        return true;
    });
    EXPECT_EQ(found, "");
    EXPECT_EQ(asked, MaxFileNumber);
}
