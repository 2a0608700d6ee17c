// The coordinate label's font. The label reads 宽 and 高, which the default
// fonts of many systems (Wine's too) draw as boxes, so the label asks by
// name for a face that has both characters.
#pragma once

#include <windows.h>

#include <string>

#include "framework/ScopedHandles.h"

// The first candidate face that has 宽 and 高; empty when none has them.
// Looked up once per process.
const std::string& LabelFaceName();

// A font of that face as tall as the DC's current one; nullptr when no face
// has the characters, and the DC's own font is used. The caller deletes it.
HFONT CreateLabelFont(HDC dc);

// Selects the label font, when there is one, into the DC for the scope.
class ScopedLabelFont {
public:
    explicit ScopedLabelFont(HDC dc) : m_font(CreateLabelFont(dc)), m_select(dc, m_font.Get()) {}

private:
    ScopedGdiObject<HFONT> m_font;
    ScopedSelect m_select;  // selects nothing when there is no font
};
