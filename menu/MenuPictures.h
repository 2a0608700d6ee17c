// The pictures of menu commands, shared by every menu for the program's
// run: one list of 16 x 15 masked pictures and, beside it, the command each
// picture belongs to. With picture effects on, a command's normal picture
// at j is followed by its faded (j + 1), shadow (j + 2) and grey (j + 3)
// variants, made once when the picture is put in.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <vector>

namespace MenuPictureVariant {
constexpr int Faded = 1;
constexpr int Shadow = 2;
constexpr int Grey = 3;
}  // namespace MenuPictureVariant

class MenuPictures {
public:
    static MenuPictures& Shared();

    // The index of the command's normal picture, or -1.
    int FirstIndexOf(UINT command) const;
    // Picture index of source becomes the command's picture, in place of
    // the one it had (variants included) or added at the end. Returns its
    // index, or -1 when it could not be put in.
    int Put(UINT command, HIMAGELIST source, int index);
    HIMAGELIST List() const { return m_list; }
    bool HasVariants() const { return m_variants; }

    MenuPictures(const MenuPictures&) = delete;
    MenuPictures& operator=(const MenuPictures&) = delete;

private:
    MenuPictures();
    ~MenuPictures();

    HIMAGELIST m_list;
    bool m_variants;
    std::vector<UINT> m_commands;  // one per picture
};
