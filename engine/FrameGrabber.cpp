#include "engine/FrameGrabber.h"

#include <cstring>
#include <memory>
#include <mutex>
#include <string>

#include "engine/FlashingWnd.h"
#include "engine/FrameBlock.h"
#include "engine/ScreenCopy.h"
#include "framework/ScopedHandles.h"

HGLOBAL(WINAPI* FrameBlockAlloc)(UINT flags, SIZE_T bytes) = GlobalAlloc;

namespace {

constexpr UINT FrameBlockFlags = GMEM_MOVEABLE | GMEM_ZEROINIT;
constexpr int MarkSize = 128;

static_assert(sizeof(FontRecord) == sizeof(LOGFONTA), "TextFont is a LOGFONTA");

void PaintBorder(const RecordingState& state, COLORREF colour) {
    if (CFlashingWnd* border = state.BorderWindow.load()) border->PaintBorder(colour);
}

// A held button (2) keeps its mark; a released one (1) gets it this once.
void DrawPendingClick(HDC dc, int x, int y, int button, std::atomic<int32_t>& clickState,
                      const RecordSettings& settings) {
    if (clickState.load() != 0)
        DrawClickMark(dc, x - MarkSize / 2, y - MarkSize / 2, button, settings);
    int32_t released = 1;
    clickState.compare_exchange_strong(released, 0);
}

// Draws the cursor at its own size (not the system's icon size), its hot
// spot on `at`, with its alpha or its inverting parts. False when the
// handle cannot be drawn here.
bool DrawCursorAt(HDC dc, POINT at, HCURSOR cursor) {
    ICONINFO info{};
    if (!cursor || !GetIconInfo(cursor, &info)) return false;
    ScopedGdiObject<HBITMAP> mask(info.hbmMask);
    ScopedGdiObject<HBITMAP> colour(info.hbmColor);
    return DrawIconEx(dc, at.x - static_cast<int>(info.xHotspot),
                      at.y - static_cast<int>(info.yHotspot), cursor, 0, 0, 0, nullptr,
                      DI_NORMAL) != FALSE;
}

// The global cursor as it is at the grab, unless it is hidden. Where the
// system names no cursor that is on the screen, or one that cannot be drawn
// from this process (both seen under Wine: no handle when none of the
// program's windows is in front, and another program's handle fails to
// draw), the hook's last cursor stands in, then the last one drawn, then
// the standard arrow.
void DrawCursor(HDC dc, const CURSORINFO& global, POINT at, RecordingState& state) {
    if (!(global.flags & CURSOR_SHOWING)) return;
    const HCURSOR candidates[] = {global.hCursor, state.HookCursor.load(),
                                  state.LastDrawnCursor.load(), LoadCursor(nullptr, IDC_ARROW)};
    for (const HCURSOR cursor : candidates) {
        if (DrawCursorAt(dc, at, cursor)) {
            state.LastDrawnCursor = cursor;
            return;
        }
    }
}

// The cursor's place and shape; a system that cannot say counts it as shown
// where the pointer is.
CURSORINFO GlobalCursor() {
    CURSORINFO info{};
    info.cbSize = sizeof info;
    if (GetCursorInfo(&info)) return info;
    info = {sizeof info, CURSOR_SHOWING, nullptr, {}};
    GetCursorPos(&info.ptScreenPos);
    return info;
}

void DrawTextLine(HDC dc, const RecordSettings& settings, std::mutex& textLock) {
    LOGFONTA face;
    std::string text;
    COLORREF colour;
    POINT at;
    {
        std::lock_guard<std::mutex> guard(textLock);
        std::memcpy(&face, &settings.TextFont, sizeof face);
        text = settings.TextString;
        colour = settings.TextColor;
        at = {settings.TextPosX, settings.TextPosY};
    }
    ScopedGdiObject<HFONT> font(CreateFontIndirectA(&face));
    SetBkMode(dc, TRANSPARENT);
    ScopedSelect selectFont(dc, font.Get());
    SetTextColor(dc, colour);
    TextOutA(dc, at.x, at.y, text.c_str(), static_cast<int>(text.size()));
}

// Draws the marks, the cursor and the text over the screen copy in dc,
// whose (0, 0) is the screen's (left, top).
void DrawOverlays(HDC dc, const GrabSettings& in, int left, int top) {
    const RecordSettings& settings = *in.settings;
    const CURSORINFO cursor = GlobalCursor();
    const int x = cursor.ptScreenPos.x - left, y = cursor.ptScreenPos.y - top;
    if (settings.ShowMouseDown) {
        DrawPendingClick(dc, x, y, 0, in.state->LeftClickState, settings);
        DrawPendingClick(dc, x, y, 1, in.state->RightClickState, settings);
    }
    if (in.showCursor == 1) DrawCursor(dc, cursor, {x, y}, *in.state);
    if (settings.ShowText) DrawTextLine(dc, settings, in.state->TextLock);
}

// The screen rectangle with the overlays in a display-compatible bitmap,
// read back at the display's depth: for palette displays, whose frames
// carry the palette of the moment.
HGLOBAL CaptureThroughBitmap(HDC display, const GrabSettings& in, int left, int top, int width,
                             int height, DWORD rop) {
    ScopedMemoryDC memory(display);
    ScopedGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(display, width, height));
    {
        ScopedSelect select(memory.Get(), bitmap.Get());
        BitBlt(memory.Get(), 0, 0, width, height, display, left, top, rop);
        DrawOverlays(memory.Get(), in, left, top);
    }
    return BitmapToDib(bitmap.Get(), GetDeviceCaps(memory.Get(), BITSPIXEL));
}

void FillFrameHeader(BITMAPINFOHEADER& header, int bitCount, int width, int height) {
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bitCount);
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(FrameImageSize(bitCount, width, height));
    header.biClrUsed = FrameColourCount(bitCount);
}

// A frame block, kept from earlier grabs or new, holding the screen copy's
// pixels; null when it could not be allocated.
HGLOBAL CopyToBlock(const ScreenCopy& copy, FrameBlockPool* blocks, int width, int height) {
    const int bitCount = copy.BitCount();
    const size_t bytes = FrameBlockSize(bitCount, width, height);
    HGLOBAL block = blocks ? blocks->Take(bytes) : nullptr;
    if (!block) block = FrameBlockAlloc(FrameBlockFlags, bytes);
    if (!block) return nullptr;
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(block));
    FillFrameHeader(*header, bitCount, width, height);
    std::memcpy(reinterpret_cast<BYTE*>(header) + FramePixelOffset(bitCount), copy.Pixels(),
                header->biSizeImage);
    GlobalUnlock(block);
    return block;
}

// Copies the screen rectangle into the kept screen copy (or a new one),
// draws the overlays there and returns them as a new frame block.
HGLOBAL CaptureToDib(HDC display, const GrabSettings& in, int left, int top, int width,
                     int height) {
    const DWORD rop = in.settings->LayeredCapture ? SRCCOPY | CAPTUREBLT : SRCCOPY;
    std::unique_ptr<ScreenCopy> own;
    std::unique_ptr<ScreenCopy>& copy = in.kept ? *in.kept : own;
    if (!copy || !copy->Fits(display, width, height))
        copy = std::make_unique<ScreenCopy>(display, width, height);
    if (!copy->Fits(display, width, height))
        return CaptureThroughBitmap(display, in, left, top, width, height, rop);
    BitBlt(copy->Dc(), 0, 0, width, height, display, left, top, rop);
    DrawOverlays(copy->Dc(), in, left, top);
    return CopyToBlock(*copy, in.blocks, width, height);
}

}  // namespace

BITMAPINFOHEADER* GrabFrame(const GrabSettings& in, int left, int top, int width, int height,
                            bool probe) {
    ScopedDisplayDC display;
    if (!probe) PaintBorder(*in.state, BorderBusyColour);
    HGLOBAL block = CaptureToDib(display.Get(), in, left, top, width, height);
    // The caller ends the recording on null; the box says why.
    if (!block) MessageBoxA(nullptr, "Error reading a frame!", "Error", MB_ICONWARNING | MB_OK);
    if (!probe) PaintBorder(*in.state, BorderIdleColour);
    return block ? static_cast<BITMAPINFOHEADER*>(GlobalLock(block)) : nullptr;
}

HGLOBAL BitmapToDib(HBITMAP bitmap, int bitCount) {
    BITMAP bm{};
    GetObjectA(bitmap, sizeof bm, &bm);
    HGLOBAL block =
        FrameBlockAlloc(FrameBlockFlags, FrameBlockSize(bitCount, bm.bmWidth, bm.bmHeight));
    if (!block) return nullptr;

    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(block));
    FillFrameHeader(*header, bitCount, bm.bmWidth, bm.bmHeight);
    void* pixels = reinterpret_cast<BYTE*>(header) + FramePixelOffset(bitCount);
    {
        ScopedMemoryDC dc(nullptr);
        GetDIBits(dc.Get(), bitmap, 0, static_cast<UINT>(bm.bmHeight), pixels,
                  reinterpret_cast<BITMAPINFO*>(header), DIB_RGB_COLORS);
    }
    // GetDIBits may rewrite the count; the block always holds the full table.
    header->biClrUsed = FrameColourCount(bitCount);
    GlobalUnlock(block);
    return block;
}

void DrawClickMark(HDC dc, int x, int y, int button, const RecordSettings& settings) {
    const COLORREF colour = button == 1 ? settings.RightColor : settings.LeftColor;
    ScopedMemoryDC tile(dc);
    ScopedGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(dc, MarkSize, MarkSize));
    ScopedSelect selectBitmap(tile.Get(), bitmap.Get());
    {
        // White everywhere but the disc, so the AND leaves the rest alone.
        ScopedGdiObject<HPEN> nullPen(CreatePen(PS_NULL, 0, 0));
        ScopedGdiObject<HBRUSH> disc(CreateSolidBrush(colour));
        ScopedSelect selectPen(tile.Get(), nullPen.Get());
        ScopedSelect selectWhite(tile.Get(), GetStockObject(WHITE_BRUSH));
        Rectangle(tile.Get(), 0, 0, MarkSize + 1, MarkSize + 1);
        ScopedSelect selectDisc(tile.Get(), disc.Get());
        Ellipse(tile.Get(), 32, 32, 96, 96);
    }
    BitBlt(dc, x, y, MarkSize, MarkSize, tile.Get(), 0, 0, SRCAND);
}

void ReleaseFrame(BITMAPINFOHEADER* block) {
    if (!block) return;
    HGLOBAL handle = GlobalHandle(block);
    GlobalUnlock(handle);
    GlobalFree(handle);
}
