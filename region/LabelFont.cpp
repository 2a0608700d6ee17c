#include "region/LabelFont.h"

#include "framework/ScopedHandles.h"

namespace {

// Windows' own Chinese faces first, then one that Debian and Wine users have.
constexpr const char* CandidateFaces[] = {"Microsoft YaHei", "SimSun", "NSimSun", "SimHei",
                                          "WenQuanYi Micro Hei"};

HFONT CreateFace(const char* face, int height) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectA(&lf);
}

// Whether the font mapper gave this very face (not a substitute) and it has both glyphs.
bool FaceHasLabelGlyphs(HDC dc, const char* face) {
    ScopedGdiObject<HFONT> font(CreateFace(face, 16));
    ScopedSelect select(dc, font.Get());
    char actual[LF_FACESIZE] = {};
    GetTextFaceA(dc, LF_FACESIZE, actual);
    if (lstrcmpiA(actual, face) != 0) return false;
    WORD glyphs[2] = {};
    const wchar_t widthAndHeight[] = L"\u5BBD\u9AD8";  // 宽 高
    return GetGlyphIndicesW(dc, widthAndHeight, 2, glyphs, GGI_MARK_NONEXISTING_GLYPHS) == 2 &&
           glyphs[0] != 0xFFFF && glyphs[1] != 0xFFFF;
}

std::string FindLabelFace() {
    ScopedWindowDC screen(nullptr);
    for (const char* face : CandidateFaces)
        if (FaceHasLabelGlyphs(screen.Get(), face)) return face;
    return {};
}

}  // namespace

const std::string& LabelFaceName() {
    static const std::string face = FindLabelFace();
    return face;
}

HFONT CreateLabelFont(HDC dc) {
    if (LabelFaceName().empty()) return nullptr;
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    return CreateFace(LabelFaceName().c_str(), tm.tmHeight);
}
