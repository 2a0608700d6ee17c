#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "menu/MenuTemplate.h"

namespace {

// Writes a template as the resource compiler lays it out.
class TemplateWriter {
public:
    explicit TemplateWriter(uint16_t version = 0, uint16_t offset = 0) {
        Word(version);
        Word(offset);
        bytes.resize(bytes.size() + offset, 0xEE);
    }
    TemplateWriter& Popup(const std::u16string& text, bool last = false) {
        Word(MenuTemplatePopup | (last ? MenuTemplateEnd : 0));
        Text(text);
        return *this;
    }
    TemplateWriter& Item(uint16_t command, const std::u16string& text, uint16_t flags = 0) {
        Word(flags);
        Word(command);
        Text(text);
        return *this;
    }
    std::vector<uint8_t> bytes;

private:
    void Word(uint16_t w) {
        bytes.push_back(w & 0xFF);
        bytes.push_back(w >> 8);
    }
    void Text(const std::u16string& text) {
        for (char16_t c : text) Word(c);
        Word(0);
    }
};

constexpr uint16_t End = MenuTemplateEnd;
constexpr uint16_t Grayed = 0x01;

std::vector<uint8_t> NestedMenu(uint16_t offset = 0) {
    TemplateWriter w(0, offset);
    w.Popup(u"&File")
        .Item(100, u"&Open\tCtrl+O")
        .Item(0, u"")
        .Popup(u"&More")
        .Item(200, u"宽 &Deep", End)
        .Item(300, u"E&xit", Grayed | End)
        .Popup(u"&Help", true)
        .Item(400, u"&About", End);
    return w.bytes;
}

}  // namespace

TEST(MenuTemplate, PopupsHoldTheItemsUpToTheEndFlag) {
    const std::vector<uint8_t> data = NestedMenu();
    std::vector<MenuTemplateItem> bar;
    ASSERT_TRUE(ParseMenuTemplate(data.data(), data.size(), bar));
    ASSERT_EQ(bar.size(), 2u);

    const MenuTemplateItem& file = bar[0];
    EXPECT_EQ(file.text, u"&File");
    EXPECT_EQ(file.flags, MenuTemplatePopup);
    ASSERT_EQ(file.items.size(), 4u);
    EXPECT_EQ(file.items[0].command, 100);
    EXPECT_EQ(file.items[0].text, u"&Open\tCtrl+O");
    EXPECT_EQ(file.items[1].command, 0);  // a separator
    EXPECT_EQ(file.items[1].text, u"");
    ASSERT_EQ(file.items[2].items.size(), 1u);
    EXPECT_EQ(file.items[2].items[0].command, 200);
    EXPECT_EQ(file.items[2].items[0].text, u"宽 &Deep");
    EXPECT_EQ(file.items[2].items[0].flags, 0);  // the end flag is taken off
    EXPECT_EQ(file.items[3].command, 300);
    EXPECT_EQ(file.items[3].flags, Grayed);

    EXPECT_EQ(bar[1].text, u"&Help");
    EXPECT_EQ(bar[1].flags, MenuTemplatePopup);
    ASSERT_EQ(bar[1].items.size(), 1u);
    EXPECT_EQ(bar[1].items[0].command, 400);
}

TEST(MenuTemplate, ItemsStartAtTheHeadersOffset) {
    const std::vector<uint8_t> data = NestedMenu(6);
    std::vector<MenuTemplateItem> bar;
    ASSERT_TRUE(ParseMenuTemplate(data.data(), data.size(), bar));
    ASSERT_EQ(bar.size(), 2u);
    EXPECT_EQ(bar[1].items[0].text, u"&About");
}

TEST(MenuTemplate, IncompleteOrExtendedTemplatesAreRefused) {
    const std::vector<uint8_t> data = NestedMenu();
    std::vector<MenuTemplateItem> bar;
    for (size_t size = 0; size < data.size(); ++size)
        EXPECT_FALSE(ParseMenuTemplate(data.data(), size, bar)) << size;

    TemplateWriter extended(1, 4);
    extended.Item(1, u"x", End);
    EXPECT_FALSE(ParseMenuTemplate(extended.bytes.data(), extended.bytes.size(), bar));
    // A popup whose level never ends.
    TemplateWriter open;
    open.Popup(u"&File", true).Item(1, u"x");
    EXPECT_FALSE(ParseMenuTemplate(open.bytes.data(), open.bytes.size(), bar));
}
