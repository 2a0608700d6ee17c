// Frames grabbed from the real screen: the copied pixels, the block around
// them, and what a grab draws in (click marks, cursor, text) or around (the
// border's flash), plus the failed allocation.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "engine/FlashingWnd.h"
#include "engine/FrameBlock.h"
#include "engine/FrameGrabber.h"
#include "framework/ScopedHandles.h"
#include "options/TextOptionDlg.h"
#include "tests/win/MessageBoxes.h"
#include "tests/win/ScreenProbe.h"
#include "tests/win/Waiting.h"

namespace {

constexpr RECT PatternArea = {100, 100, 500, 400};
constexpr int Left = 150, Top = 130, Width = 201, Height = 181;  // the grabbed rectangle
constexpr int PointerX = 260, PointerY = 220;                    // (110, 90) in the frame

// Never black or pure red, with the top bit of red and blue set so that
// either click colour's AND changes every pixel.
COLORREF PatternColour(int screenX, int screenY) {
    return RGB(0x80 | (screenX & 0x7F), (3 * screenX + screenY) & 0xFF, 0x80 | (screenY & 0x7F));
}

COLORREF Pattern(int frameX, int frameY) { return PatternColour(Left + frameX, Top + frameY); }

// Paints the pattern of the screen area whose top-left corner is (originX, originY).
void PaintPattern(HDC dc, int originX, int originY, int width, int height) {
    std::vector<uint32_t> rows(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF c = PatternColour(originX + x, originY + y);
            rows[static_cast<size_t>(y) * width + x] =
                (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, rows.data(), &info, DIB_RGB_COLORS);
}

class PatternWindow : public CWnd {
public:
    PatternWindow() {
        const RECT& a = PatternArea;
        CreateEx(0, AfxRegisterWndClass(0), "Pattern", WS_POPUP | WS_VISIBLE, a.left, a.top,
                 a.right - a.left, a.bottom - a.top, nullptr, nullptr);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_PAINT) return CWnd::WindowProc(message, wParam, lParam);
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m_hWnd, &ps);
        const RECT& a = PatternArea;
        PaintPattern(dc, a.left, a.top, a.right - a.left, a.bottom - a.top);
        EndPaint(m_hWnd, &ps);
        return 0;
    }
};

// A colour as a pixel of a frame of the given depth (16 bits: 5-5-5).
uint32_t Packed(COLORREF c, int bitCount) {
    if (bitCount == 16)
        return ((GetRValue(c) >> 3) << 10) | ((GetGValue(c) >> 3) << 5) | (GetBValue(c) >> 3);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// Owns a locked frame block and reads its bottom-up rows from the top.
class Frame {
public:
    explicit Frame(BITMAPINFOHEADER* block) : m_block(block) {}
    ~Frame() { ReleaseFrame(m_block); }
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;
    const BITMAPINFOHEADER* operator->() const { return m_block; }
    const BITMAPINFOHEADER* Get() const { return m_block; }
    const uint8_t* Row(int y) const {
        const size_t stride = m_block->biSizeImage / m_block->biHeight;
        return reinterpret_cast<const uint8_t*>(m_block) + 40 + 4 * m_block->biClrUsed +
               (m_block->biHeight - 1 - y) * stride;
    }
    uint32_t Raw(int x, int y) const {
        const int bytes = m_block->biBitCount / 8;
        uint32_t p = 0;
        std::memcpy(&p, Row(y) + x * bytes, bytes);
        return p;
    }
    bool Shows(int x, int y, COLORREF c) const {
        return Raw(x, y) == Packed(c, m_block->biBitCount);
    }

private:
    BITMAPINFOHEADER* m_block;
};

::testing::AssertionResult EveryPixel(const Frame& f, const std::function<bool(int, int)>& ok) {
    for (int y = 0; y < f->biHeight; ++y)
        for (int x = 0; x < f->biWidth; ++x)
            if (!ok(x, y))
                return ::testing::AssertionFailure()
                       << "frame pixel (" << x << ", " << y << ") is " << std::hex << f.Raw(x, y)
                       << ", pattern " << Packed(Pattern(x, y), f->biBitCount);
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult ShowsPattern(const Frame& f) {
    return EveryPixel(f, [&](int x, int y) { return f.Shows(x, y, Pattern(x, y)); });
}

// A click mark's disc centred on the pointer: ANDed with the colour inside,
// untouched outside (the white rest of its tile included); the rim may go
// either way.
::testing::AssertionResult ShowsClickMark(const Frame& f, COLORREF colour) {
    const int cx = PointerX - Left, cy = PointerY - Top;
    return EveryPixel(f, [&](int x, int y) {
        const int d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
        const bool tinted = f.Shows(x, y, Pattern(x, y) & colour);
        if (d2 <= 28 * 28) return tinted;
        return f.Shows(x, y, Pattern(x, y)) || (d2 < 34 * 34 && tinted);
    });
}

bool MoveCursorTo(int x, int y) {
    SetCursorPos(x, y);
    return WaitUntil([&] {
        POINT p;
        return GetCursorPos(&p) && p.x == x && p.y == y;
    });
}

HGLOBAL WINAPI FailingAlloc(UINT, SIZE_T) { return nullptr; }

class FrameGrabberTest : public ::testing::Test {
protected:
    void SetUp() override {
        pattern = std::make_unique<PatternWindow>();
        ASSERT_TRUE(WaitUntil([] {
            const ScreenShot shot(PatternArea);
            return shot.At(100, 100) == PatternColour(100, 100) &&
                   shot.At(499, 399) == PatternColour(499, 399);
        })) << "the pattern never showed";
        ASSERT_TRUE(MoveCursorTo(PointerX, PointerY));
        settings.ShowMouseDown = 0;
    }
    void TearDown() override { FrameBlockAlloc = GlobalAlloc; }

    BITMAPINFOHEADER* Grab(bool probe = true, int width = Width, int height = Height) {
        return GrabFrame(in, Left, Top, width, height, probe);
    }

    // Shows the border around the grabbed rectangle with its brackets black.
    void ShowBlackBorder() {
        ASSERT_TRUE(border.CreateBorder("Flashing"));
        border.SetBorderRegion(Left, Top, Width, Height);
        border.ShowWindow(SW_SHOWNOACTIVATE);
        state.BorderWindow = &border;
        ScopedWindowDC dc(border.GetSafeHwnd());
        const RECT all = {0, 0, 1024, 768};
        FillRect(dc.Get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    COLORREF BorderPixel() {
        ScopedWindowDC dc(border.GetSafeHwnd());
        return GetPixel(dc.Get(), Left - 5, Top - 5);
    }

    std::unique_ptr<PatternWindow> pattern;
    CFlashingWnd border;
    RecordSettings settings;
    RecordingState state;
    GrabSettings in{&settings, &state, 0};
};

}  // namespace

TEST_F(FrameGrabberTest, CopiesTheRectanglePixelExactIntoALockedBlockAtTheDisplayDepth) {
    ScopedDisplayDC display;
    const int depth = GetDeviceCaps(display.Get(), BITSPIXEL);
    for (const int layered : {0, 1}) {
        settings.LayeredCapture = layered;
        for (const SIZE size : {SIZE{101, 64}, SIZE{Width, Height}}) {
            const Frame f(Grab(true, size.cx, size.cy));
            ASSERT_NE(f.Get(), nullptr);
            EXPECT_EQ(f->biSize, 40u);
            EXPECT_EQ(f->biWidth, size.cx);
            EXPECT_EQ(f->biHeight, size.cy);
            EXPECT_EQ(f->biPlanes, 1);
            EXPECT_EQ(f->biBitCount, depth);
            EXPECT_EQ(f->biCompression, DWORD(BI_RGB));
            const DWORD stride = (depth * size.cx + 31) / 32 * 4;
            EXPECT_EQ(f->biSizeImage, stride * size.cy);
            EXPECT_EQ(f->biXPelsPerMeter, 0);
            EXPECT_EQ(f->biYPelsPerMeter, 0);
            EXPECT_EQ(f->biClrUsed, 0u);
            EXPECT_EQ(f->biClrImportant, 0u);
            HGLOBAL handle = GlobalHandle(f.Get());
            EXPECT_EQ(GlobalFlags(handle) & GMEM_LOCKCOUNT, 1u);
            EXPECT_GE(GlobalSize(handle), 40 + f->biSizeImage);
            EXPECT_TRUE(ShowsPattern(f)) << size.cx << " x " << size.cy << ", layered " << layered;
        }
    }
}

TEST(BitmapToDib, ConvertsToTheRequestedDepthWithPaddedRowsAndAFullPalette) {
    ScopedWindowDC screen(nullptr);
    ScopedGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Get(), 101, 3));
    {
        ScopedMemoryDC memory(screen.Get());
        ScopedSelect select(memory.Get(), bitmap.Get());
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 101; ++x) SetPixelV(memory.Get(), x, y, PatternColour(x, y));
    }
    for (const int depth : {16, 24}) {
        const Frame f(static_cast<BITMAPINFOHEADER*>(GlobalLock(BitmapToDib(bitmap.Get(), depth))));
        ASSERT_NE(f.Get(), nullptr);
        EXPECT_EQ(f->biBitCount, depth);
        EXPECT_EQ(f->biSizeImage, depth == 16 ? 3 * 204u : 3 * 304u);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 101; ++x)
                EXPECT_EQ(f.Raw(x, y), Packed(PatternColour(x, y), depth)) << x << ", " << y;
            const size_t used = 101 * depth / 8;
            for (size_t pad = used; pad < f->biSizeImage / 3; ++pad) EXPECT_EQ(f.Row(y)[pad], 0);
        }
    }
    HGLOBAL paletted = BitmapToDib(bitmap.Get(), 8);
    ASSERT_NE(paletted, nullptr);
    EXPECT_EQ(GlobalFlags(paletted) & GMEM_LOCKCOUNT, 0u);
    const Frame f(static_cast<BITMAPINFOHEADER*>(GlobalLock(paletted)));
    EXPECT_EQ(f->biClrUsed, 256u);
    EXPECT_EQ(f->biSizeImage, 3 * 104u);
    EXPECT_GE(GlobalSize(paletted), 40 + 1024 + f->biSizeImage);
}

TEST_F(FrameGrabberTest, HeldButtonIsMarkedEveryFrameAndAReleasedOneInTheNextFrameOnly) {
    settings.ShowMouseDown = 1;
    for (const int button : {0, 1}) {
        auto& click = button == 0 ? state.LeftClickState : state.RightClickState;
        const COLORREF colour = button == 0 ? settings.LeftColor : settings.RightColor;
        click = 2;
        EXPECT_TRUE(ShowsClickMark(Frame(Grab()), colour)) << "held " << button;
        EXPECT_EQ(click, 2);
        click = 1;
        EXPECT_TRUE(ShowsClickMark(Frame(Grab()), colour)) << "released " << button;
        EXPECT_EQ(click, 0);
        EXPECT_TRUE(ShowsPattern(Frame(Grab()))) << "after " << button;
    }
}

TEST_F(FrameGrabberTest, ClickMarksAreLeftOutAndStatesKeptWhenTurnedOff) {
    state.LeftClickState = 2;
    state.RightClickState = 1;
    EXPECT_TRUE(ShowsPattern(Frame(Grab())));
    EXPECT_EQ(state.LeftClickState, 2);
    EXPECT_EQ(state.RightClickState, 1);
}

// A monochrome cursor of size x size: transparent, but for black and for
// inverting squares of 4 x 4 at the given places.
HCURSOR MonochromeCursor(int size, POINT hotSpot, std::vector<POINT> black,
                         std::vector<POINT> inverted) {
    const int rowBytes = size / 8;
    std::vector<uint8_t> andMask(static_cast<size_t>(rowBytes) * size, 0xFF);
    std::vector<uint8_t> xorMask(andMask.size(), 0);
    const auto mark = [&](const std::vector<POINT>& squares, bool inverting) {
        for (const POINT& at : squares)
            for (int y = at.y; y < at.y + 4; ++y)
                for (int x = at.x; x < at.x + 4; ++x) {
                    const uint8_t bit = static_cast<uint8_t>(0x80 >> (x % 8));
                    if (inverting)
                        xorMask[y * rowBytes + x / 8] |= bit;
                    else
                        andMask[y * rowBytes + x / 8] &= static_cast<uint8_t>(~bit);
                }
    };
    mark(black, false);
    mark(inverted, true);
    return CreateCursor(GetModuleHandleA(nullptr), hotSpot.x, hotSpot.y, size, size,
                        andMask.data(), xorMask.data());
}

// A 32 x 32 colour cursor with alpha: an 8 x 8 square of half-transparent
// red at (4, 4), the rest fully transparent.
HCURSOR AlphaCursor(POINT hotSpot) {
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof header;
    header.bV5Width = 32;
    header.bV5Height = -32;
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void* bits = nullptr;
    ScopedWindowDC screen(nullptr);
    ScopedGdiObject<HBITMAP> colour(CreateDIBSection(screen.Get(),
                                                     reinterpret_cast<BITMAPINFO*>(&header),
                                                     DIB_RGB_COLORS, &bits, nullptr, 0));
    auto* pixels = static_cast<uint32_t*>(bits);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            pixels[y * 32 + x] = x >= 4 && x < 12 && y >= 4 && y < 12 ? 0x80800000u : 0;
    ScopedGdiObject<HBITMAP> mask(CreateBitmap(32, 32, 1, 1, nullptr));
    ICONINFO info{FALSE, static_cast<DWORD>(hotSpot.x), static_cast<DWORD>(hotSpot.y), mask.Get(),
                  colour.Get()};
    return CreateIconIndirect(&info);
}

// Every pixel is the pattern but in the squares given: there `inside` says.
::testing::AssertionResult ShowsSquares(const Frame& f, std::vector<RECT> squares,
                                        const std::function<bool(int, int)>& inside) {
    return EveryPixel(f, [&](int x, int y) {
        const POINT p{x, y};
        for (const RECT& square : squares)
            if (PtInRect(&square, p)) return inside(x, y);
        return f.Shows(x, y, Pattern(x, y));
    });
}

bool Near(uint32_t raw, COLORREF c) {
    const int dr = static_cast<int>((raw >> 16) & 0xFF) - GetRValue(c);
    const int dg = static_cast<int>((raw >> 8) & 0xFF) - GetGValue(c);
    const int db = static_cast<int>(raw & 0xFF) - GetBValue(c);
    return dr * dr <= 9 && dg * dg <= 9 && db * db <= 9;
}

TEST_F(FrameGrabberTest, TheGlobalCursorIsDrawnAtItsOwnSizeAndHotSpotWithAlphaAndInversion) {
    SetForegroundWindow(pattern->GetSafeHwnd());
    const int px = PointerX - Left, py = PointerY - Top;  // the pointer in the frame
    // 64 x 64 (a grab at the system's 32 x 32 would shrink it) with a black
    // square in its far corner and an inverting one near its hot spot.
    const HCURSOR large = MonochromeCursor(64, {2, 3}, {{56, 56}}, {{8, 8}});
    const HCURSOR alpha = AlphaCursor({1, 1});
    ASSERT_TRUE(large && alpha);
    in.showCursor = 1;

    SetCursor(large);
    CURSORINFO global{sizeof global, 0, nullptr, {}};
    ASSERT_TRUE(GetCursorInfo(&global) && global.hCursor == large)
        << "the system does not report this thread's cursor as the global one";
    const RECT black = {px - 2 + 56, py - 3 + 56, px - 2 + 60, py - 3 + 60};
    const RECT inverted = {px - 2 + 8, py - 3 + 8, px - 2 + 12, py - 3 + 12};
    {
        const Frame f(Grab());
        EXPECT_TRUE(ShowsSquares(f, {black, inverted}, [&](int x, int y) {
            const COLORREF p = Pattern(x, y);
            return x >= black.left ? f.Shows(x, y, RGB(0, 0, 0))
                                   : f.Shows(x, y, RGB(255 - GetRValue(p), 255 - GetGValue(p),
                                                       255 - GetBValue(p)));
        })) << "64 x 64 monochrome cursor";
    }

    SetCursor(alpha);
    const RECT red = {px - 1 + 4, py - 1 + 4, px - 1 + 12, py - 1 + 12};
    {
        const Frame f(Grab());
        EXPECT_TRUE(ShowsSquares(f, {red}, [&](int x, int y) {
            const COLORREF p = Pattern(x, y);
            // Icon pixels are not premultiplied: red 0x80 at half alpha.
            return Near(f.Raw(x, y), RGB(0x40 + GetRValue(p) / 2, GetGValue(p) / 2,
                                         GetBValue(p) / 2));
        })) << "half-transparent red over the pattern";
    }

    ShowCursor(FALSE);
    EXPECT_TRUE(ShowsPattern(Frame(Grab()))) << "a hidden cursor is drawn";
    ShowCursor(TRUE);
    SetCursor(nullptr);
    DestroyCursor(large);
    DestroyIcon(alpha);
}

TEST_F(FrameGrabberTest, ACursorTheSystemCannotNameIsStoodInForByTheHookTheLastOrTheArrow) {
    SetForegroundWindow(pattern->GetSafeHwnd());
    const int px = PointerX - Left, py = PointerY - Top;
    const HCURSOR hooked = MonochromeCursor(32, {5, 7}, {{0, 0}}, {});
    ASSERT_NE(hooked, nullptr);
    const RECT square = {px - 5, py - 7, px - 1, py - 3};
    const auto showsHooked = [&](const Frame& f) {
        return ShowsSquares(f, {square}, [&](int x, int y) { return f.Shows(x, y, RGB(0, 0, 0)); });
    };
    in.showCursor = 1;
    SetCursor(nullptr);  // no handle for the cursor on the screen, as under Wine
    state.HookCursor = hooked;
    EXPECT_TRUE(showsHooked(Frame(Grab()))) << "the hook's cursor";
    state.HookCursor = nullptr;
    EXPECT_TRUE(showsHooked(Frame(Grab()))) << "the last cursor drawn";
    EXPECT_EQ(state.LastDrawnCursor.load(), hooked);
    state.LastDrawnCursor = nullptr;
    {
        // The arrow: drawn over the pattern near the pointer, nowhere else.
        const Frame f(Grab());
        int drawn = 0;
        EXPECT_TRUE(EveryPixel(f, [&](int x, int y) {
            const bool close = x >= px - 32 && x < px + 32 && y >= py - 32 && y < py + 32;
            const bool pattern = f.Shows(x, y, Pattern(x, y));
            drawn += !pattern;
            return pattern || close;
        }));
        EXPECT_GT(drawn, 20) << "no arrow";
    }
    DestroyCursor(hooked);
}

TEST_F(FrameGrabberTest, TextLineIsDrawnInItsColourInsideItsBoxOnly) {
    settings.ShowText = 1;
    settings.TextFont.lfHeight = -20;
    settings.TextFont.lfWeight = FW_BOLD;
    std::strcpy(settings.TextFont.lfFaceName, "Arial");
    settings.TextString = "Brantle 42";
    settings.TextColor = RGB(255, 0, 0);
    settings.TextPosX = 10;
    settings.TextPosY = 20;

    LOGFONTA face;
    std::memcpy(&face, &settings.TextFont, sizeof face);
    ScopedGdiObject<HFONT> font(CreateFontIndirectA(&face));
    // The same line drawn over the pattern here, and the box it measures.
    ScopedWindowDC screen(nullptr);
    ScopedMemoryDC reference(screen.Get());
    ScopedGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Get(), Width, Height));
    ScopedSelect selectBitmap(reference.Get(), bitmap.Get());
    ScopedSelect selectFont(reference.Get(), font.Get());
    PaintPattern(reference.Get(), Left, Top, Width, Height);
    SetBkMode(reference.Get(), TRANSPARENT);
    SetTextColor(reference.Get(), RGB(255, 0, 0));
    TextOutA(reference.Get(), 10, 20, "Brantle 42", 10);
    SIZE extent{};
    GetTextExtentPoint32A(reference.Get(), "Brantle 42", 10, &extent);
    const RECT box = {10, 20, 10 + extent.cx, 20 + extent.cy};

    const Frame f(Grab());
    int red = 0;
    EXPECT_TRUE(EveryPixel(f, [&](int x, int y) {
        red += f.Shows(x, y, RGB(255, 0, 0));
        const bool inBox = PtInRect(&box, POINT{x, y});
        return f.Shows(x, y, inBox ? GetPixel(reference.Get(), x, y) : Pattern(x, y));
    }));
    EXPECT_GT(red, 40);

    settings.TextString.clear();
    EXPECT_TRUE(ShowsPattern(Frame(Grab())));
}

// The Text dialog may replace the text while a recording draws it: the grab
// and the dialog's store wait for each other on the text lock.
TEST_F(FrameGrabberTest, GrabAndTextStoreWaitForEachOtherOnTheTextLock) {
    settings.ShowText = 1;
    std::strcpy(settings.TextFont.lfFaceName, "Arial");
    settings.TextString = "before";

    std::unique_lock<std::mutex> held(state.TextLock);
    auto grab = std::async(std::launch::async, [&] { return Grab(false); });
    EXPECT_EQ(grab.wait_for(std::chrono::milliseconds(300)), std::future_status::timeout);
    held.unlock();
    BITMAPINFOHEADER* frame = grab.get();
    EXPECT_NE(frame, nullptr);
    ReleaseFrame(frame);

    held.lock();
    auto store = std::async(std::launch::async, [&] {
        StoreTextOverlay(settings, state, settings.TextFont, 5, 6, "after");
    });
    EXPECT_EQ(store.wait_for(std::chrono::milliseconds(300)), std::future_status::timeout);
    EXPECT_EQ(settings.TextString, "before");
    held.unlock();
    store.get();
    EXPECT_EQ(settings.TextString, "after");
    EXPECT_EQ(settings.TextPosY, 6);
}

TEST_F(FrameGrabberTest, LoopGrabLeavesTheBorderIdleAndAProbeLeavesItAlone) {
    ShowBlackBorder();
    EXPECT_TRUE(ShowsPattern(Frame(Grab(true))));
    EXPECT_EQ(BorderPixel(), RGB(0, 0, 0));
    EXPECT_TRUE(ShowsPattern(Frame(Grab(false))));
    EXPECT_EQ(BorderPixel(), BorderIdleColour);
}

TEST_F(FrameGrabberTest, FailedAllocationIsReportedInABoxAndGivesNoFrame) {
    ShowBlackBorder();
    FrameBlockAlloc = FailingAlloc;
    // The box is modal on this thread; another one reads and closes it.
    auto box = std::async(std::launch::async, [] { return AnswerMessageBox(IDOK); });
    EXPECT_EQ(Grab(false), nullptr);
    EXPECT_EQ(box.get(), "Error|Error reading a frame!");
    EXPECT_EQ(BorderPixel(), BorderIdleColour);
}

TEST_F(FrameGrabberTest, AGrabUsesAGivenBackBlockOfItsSizeAgainAndFillsItAfresh) {
    FrameBlockPool blocks(2);
    in.blocks = &blocks;
    BITMAPINFOHEADER* first = Grab(false);
    ASSERT_NE(first, nullptr);
    const HGLOBAL firstBlock = GlobalHandle(first);
    // Scribbled over, as a compressor never does, to see that the next grab
    // rewrites header and pixels.
    std::memset(first, 0x5a, GlobalSize(firstBlock));
    blocks.Give(first);
    EXPECT_EQ(GlobalFlags(firstBlock) & GMEM_LOCKCOUNT, 0u);

    const Frame again(Grab(false));
    ASSERT_NE(again.Get(), nullptr);
    EXPECT_EQ(GlobalHandle(again.Get()), firstBlock);
    EXPECT_EQ(again->biSize, 40u);
    EXPECT_EQ(again->biWidth, Width);
    EXPECT_TRUE(ShowsPattern(again));

    // A smaller rectangle gets a block of its own size.
    blocks.Give(Grab(false));
    const Frame smaller(Grab(false, 101, 64));
    ASSERT_NE(smaller.Get(), nullptr);
    EXPECT_EQ(smaller->biWidth, 101);
    EXPECT_EQ(GlobalSize(GlobalHandle(smaller.Get())), FrameBlockSize(smaller->biBitCount, 101, 64));
    EXPECT_TRUE(ShowsPattern(smaller));
}

TEST(FrameBlockPool, KeepsUpToItsCapacityAndHandsOutOnlyBlocksOfTheAskedSize) {
    const size_t bytes = FrameBlockSize(32, 16, 8);
    auto newFrame = [&] {
        auto* frame = static_cast<BITMAPINFOHEADER*>(GlobalLock(GlobalAlloc(GMEM_MOVEABLE, bytes)));
        *frame = BITMAPINFOHEADER{};
        frame->biWidth = 16;
        frame->biHeight = 8;
        frame->biBitCount = 32;
        return frame;
    };
    FrameBlockPool blocks(2);
    EXPECT_EQ(blocks.Take(bytes), nullptr);
    std::vector<HGLOBAL> given;
    for (int i = 0; i < 3; ++i) {
        BITMAPINFOHEADER* frame = newFrame();
        given.push_back(GlobalHandle(frame));
        blocks.Give(frame);
    }
    blocks.Give(nullptr);
    // The last one found the pool full.
    const HGLOBAL a = blocks.Take(bytes), b = blocks.Take(bytes);
    EXPECT_EQ(blocks.Take(bytes), nullptr);
    EXPECT_EQ((std::set<HGLOBAL>{a, b}), (std::set<HGLOBAL>{given[0], given[1]}));
    GlobalFree(a);
    GlobalFree(b);

    blocks.Give(newFrame());
    EXPECT_EQ(blocks.Take(bytes + 4), nullptr);
    EXPECT_EQ(blocks.Take(bytes), nullptr);  // the other size was let go
}
