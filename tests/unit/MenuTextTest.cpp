#include <gtest/gtest.h>

#include "menu/MenuText.h"

namespace {

// Seven pixels a letter, three a space.
int Width(const std::u16string& text) {
    int width = 0;
    for (char16_t c : text) width += c == u' ' ? 3 : 7;
    return width;
}

}  // namespace

TEST(MenuText, SplitTakesTheTextBeforeTheFirstTabAndAfterTheLast) {
    const MenuTextParts plain = SplitAtTabs(u"E&xit");
    EXPECT_EQ(plain.label, u"E&xit");
    EXPECT_FALSE(plain.hasTab);
    const MenuTextParts one = SplitAtTabs(u"&Contents\tF1");
    EXPECT_EQ(one.label, u"&Contents");
    EXPECT_EQ(one.accelerator, u"F1");
    EXPECT_TRUE(one.hasTab);
    const MenuTextParts two = SplitAtTabs(u"a\tb\tc");
    EXPECT_EQ(two.label, u"a");
    EXPECT_EQ(two.accelerator, u"c");
}

TEST(MenuText, LabelsWithATabArePaddedToTheWidestLabelAndASpace) {
    // "&About ..." is 66 wide: the target is 69. "&Contents" (63) needs two
    // spaces to reach it, "Open" (28) fourteen, which pass it by one pixel.
    std::vector<std::u16string> texts{u"&Contents\tF1", u"&Website", u"", u"&About ...",
                                      u"Open\tCtrl+O"};
    AlignAccelerators(texts, Width);
    EXPECT_EQ(texts[0], u"&Contents  \tF1");
    EXPECT_EQ(texts[1], u"&Website");
    EXPECT_EQ(texts[2], u"");
    EXPECT_EQ(texts[3], u"&About ...");
    EXPECT_EQ(texts[4], u"Open              \tCtrl+O");
}

TEST(MenuText, AlignmentKeepsEverythingAfterTheFirstTab) {
    std::vector<std::u16string> texts{u"ab\tx\ty", u"abcd"};
    AlignAccelerators(texts, Width);
    EXPECT_EQ(texts[0], u"ab      \tx\ty");  // 14 + 6 spaces reach the target, 31
}

TEST(MenuText, SpacesOfNoWidthEndThePadding) {
    std::vector<std::u16string> texts{u"a\tb", u"abc"};
    AlignAccelerators(texts, [](const std::u16string& t) {
        int width = 0;
        for (char16_t c : t) width += c == u' ' ? 0 : 5;
        return width;
    });
    EXPECT_EQ(texts[0], u"a\tb");
}

TEST(MenuText, MnemonicsRunASingleMatchAndCycleThroughSeveral) {
    const std::vector<std::u16string> texts{u"&Start",    u"&Pause", u"S&top",         u"",
                                            u"Pl&ay ...", u"&Save",  u"Fish && &Chips"};
    MnemonicChoice c = ChooseByMnemonic(texts, u'p', -1);
    EXPECT_EQ(c.index, 1);
    EXPECT_TRUE(c.execute);
    EXPECT_EQ(ChooseByMnemonic(texts, u'A', 0).index, 4);   // without case
    EXPECT_EQ(ChooseByMnemonic(texts, u'c', -1).index, 6);  // "&&" is a plain ampersand
    EXPECT_EQ(ChooseByMnemonic(texts, u'x', 2).index, -1);

    c = ChooseByMnemonic(texts, u's', -1);
    EXPECT_EQ(c.index, 0);
    EXPECT_FALSE(c.execute);
    EXPECT_EQ(ChooseByMnemonic(texts, u's', 0).index, 5);
    EXPECT_EQ(ChooseByMnemonic(texts, u's', 5).index, 0);  // round again
}
