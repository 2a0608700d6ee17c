#include "tests/e2e/TrayIcons.h"

#include <commctrl.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "framework/ScopedHandles.h"
#include "tests/e2e/ProbeWindows.h"
#include "tests/e2e/RemoteBuffer.h"
#include "tests/win/ScreenProbe.h"

namespace {

constexpr size_t kTipBytes = 1024;  // the most a tooltip copies out (INFOTIPSIZE)

struct ToolSearch {
    DWORD trayProcess;
    const std::string* tip;
    RECT* place;
    std::string* seen;
    bool found;
    bool unanswered;
};

// Looks through the tools of one of the tray's tooltip windows.
void SearchTools(HWND tooltip, ToolSearch& search) {
    DWORD_PTR count = 0;
    RemoteBuffer remote(tooltip, sizeof(TOOLINFOA) + kTipBytes);
    if (!SendMessageTimeoutA(tooltip, TTM_GETTOOLCOUNT, 0, 0, SMTO_ABORTIFHUNG, 1000, &count) ||
        !remote.Ok()) {
        search.unanswered = true;
        return;
    }
    for (DWORD_PTR i = 0; i < count; ++i) {
        TOOLINFOA info{};
        info.cbSize = sizeof info;
        info.lpszText = reinterpret_cast<char*>(remote.Address(sizeof info));
        char text[kTipBytes] = {};
        DWORD_PTR ok = 0;
        if (!remote.Write(&info, sizeof info) || !remote.Write(text, sizeof text, sizeof info) ||
            !SendMessageTimeoutA(tooltip, TTM_ENUMTOOLSA, i, remote.Address(), SMTO_ABORTIFHUNG,
                                 1000, &ok) ||
            !ok || !remote.Read(&info, sizeof info) ||
            !remote.Read(text, sizeof text - 1, sizeof info)) {
            search.unanswered = true;
            continue;
        }
        // Wine keeps the tool of a deleted icon, with an empty rectangle.
        const bool shown = !IsRectEmpty(&info.rect);
        *search.seen += "'" + std::string(text) + (shown ? "' " : "' (deleted) ");
        // A tip of several lines is found by its first line too.
        const std::string whole(text);
        if (!shown || (*search.tip != whole && *search.tip != whole.substr(0, whole.find('\n'))))
            continue;
        *search.place = info.rect;
        MapWindowPoints(info.hwnd, nullptr, reinterpret_cast<POINT*>(search.place), 2);
        search.found = true;
    }
}

BOOL CALLBACK SearchTooltip(HWND wnd, LPARAM param) {
    auto& search = *reinterpret_cast<ToolSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(wnd, &process);
    char cls[64] = {};
    GetClassNameA(wnd, cls, sizeof cls);
    if (process == search.trayProcess && lstrcmpiA(cls, TOOLTIPS_CLASSA) == 0)
        SearchTools(wnd, search);
    return !search.found;
}

using Pixels = std::vector<uint32_t>;

// The icon drawn at the small icon size, centred and moved by (dx, dy), over
// a plain background, as a top-down 32-bit picture of width x height.
Pixels Render(HICON icon, int width, int height, COLORREF background, int dx, int dy) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    ScopedWindowDC screen(nullptr);
    void* bits = nullptr;
    ScopedGdiObject<HBITMAP> bitmap(
        CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ScopedMemoryDC memory(screen.Get());
    ScopedSelect select(memory.Get(), bitmap.Get());
    ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(background));
    RECT all{0, 0, width, height};
    FillRect(memory.Get(), &all, brush.Get());
    const int cx = GetSystemMetrics(SM_CXSMICON);
    const int cy = GetSystemMetrics(SM_CYSMICON);
    DrawIconEx(memory.Get(), (width - cx) / 2 + dx, (height - cy) / 2 + dy, icon, cx, cy, 0,
               nullptr, DI_NORMAL);
    GdiFlush();
    const auto* p = static_cast<const uint32_t*>(bits);
    return Pixels(p, p + static_cast<size_t>(width) * height);
}

double MeanDifference(const Pixels& a, const Pixels& b) {
    uint64_t sum = 0;
    for (size_t i = 0; i < a.size(); ++i)
        for (int shift = 0; shift < 24; shift += 8)
            sum += std::abs(static_cast<int>((a[i] >> shift) & 0xFF) -
                            static_cast<int>((b[i] >> shift) & 0xFF));
    return static_cast<double>(sum) / (3.0 * a.size());
}

}  // namespace

TrayLookup FindTrayIcon(const std::string& tip, RECT& place, std::string& seen) {
    JoinTestDesktop();
    seen.clear();
    HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
    if (!tray) {
        seen = "no tray window";
        return TrayLookup::Unanswered;
    }
    ToolSearch search{0, &tip, &place, &seen, false, false};
    GetWindowThreadProcessId(tray, &search.trayProcess);
    EnumWindows(SearchTooltip, reinterpret_cast<LPARAM>(&search));
    if (seen.empty()) seen = "no tray icons";
    if (search.found) return TrayLookup::Found;
    return search.unanswered ? TrayLookup::Unanswered : TrayLookup::Absent;
}

double IconDistance(const RECT& place, HMODULE module, int id) {
    const int width = place.right - place.left;
    const int height = place.bottom - place.top;
    const ScreenShot shot(place);
    Pixels screen;
    for (int y = place.top; y < place.bottom; ++y)
        for (int x = place.left; x < place.right; ++x) {
            const COLORREF c = shot.At(x, y);
            screen.push_back(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
        }
    const COLORREF background = shot.At(place.left, place.top);
    double best = HUGE_VAL;
    // A program may load the small picture, or the large one that the tray scales.
    for (int size : {GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CXICON)}) {
        HICON icon =
            static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
        if (!icon) continue;
        // The tray may centre the icon a pixel off ours.
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                best = std::fmin(
                    best, MeanDifference(screen, Render(icon, width, height, background, dx, dy)));
        DestroyIcon(icon);
    }
    return best;
}
