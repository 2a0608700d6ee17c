#include "menu/MenuTemplate.h"

namespace {

class TemplateReader {
public:
    TemplateReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    bool Word(uint16_t& value) {
        if (m_size - m_at < 2) return false;
        value = static_cast<uint16_t>(m_data[m_at] | m_data[m_at + 1] << 8);
        m_at += 2;
        return true;
    }

    bool Text(std::u16string& text) {
        for (uint16_t c; Word(c);) {
            if (c == 0) return true;
            text += static_cast<char16_t>(c);
        }
        return false;
    }

    bool Skip(size_t bytes) {
        if (m_size - m_at < bytes) return false;
        m_at += bytes;
        return true;
    }

    // Items up to and including the one that ends the level.
    bool Level(std::vector<MenuTemplateItem>& items) {
        for (;;) {
            MenuTemplateItem item;
            if (!Word(item.flags)) return false;
            const bool popup = item.flags & MenuTemplatePopup;
            const bool last = item.flags & MenuTemplateEnd;
            item.flags &= ~MenuTemplateEnd;
            if (!popup && !Word(item.command)) return false;
            if (!Text(item.text)) return false;
            if (popup && !Level(item.items)) return false;
            items.push_back(std::move(item));
            if (last) return true;
        }
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

}  // namespace

bool ParseMenuTemplate(const uint8_t* data, size_t size, std::vector<MenuTemplateItem>& bar) {
    TemplateReader reader(data, size);
    uint16_t version = 0, offset = 0;
    // Version 1 is the extended format, laid out differently.
    if (!reader.Word(version) || !reader.Word(offset) || version != 0 || !reader.Skip(offset))
        return false;
    bar.clear();
    return reader.Level(bar);
}
