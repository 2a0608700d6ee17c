// Scoped owners of platform handles, so every early return releases what an
// operation made. Copying is deleted; each owner releases exactly once.
#pragma once

#include <windows.h>

class ScopedRegKey {
public:
    ScopedRegKey() = default;
    ~ScopedRegKey() {
        if (m_key) RegCloseKey(m_key);
    }
    ScopedRegKey(const ScopedRegKey&) = delete;
    ScopedRegKey& operator=(const ScopedRegKey&) = delete;
    HKEY Get() const { return m_key; }
    PHKEY Out() { return &m_key; }

private:
    HKEY m_key = nullptr;
};

// A window's device context from GetDC, released to the same window.
class ScopedWindowDC {
public:
    explicit ScopedWindowDC(HWND wnd) : m_wnd(wnd), m_dc(GetDC(wnd)) {}
    ~ScopedWindowDC() {
        if (m_dc) ReleaseDC(m_wnd, m_dc);
    }
    ScopedWindowDC(const ScopedWindowDC&) = delete;
    ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_wnd;
    HDC m_dc;
};

// A memory device context compatible with another one, deleted at scope end.
class ScopedMemoryDC {
public:
    explicit ScopedMemoryDC(HDC compatibleWith) : m_dc(CreateCompatibleDC(compatibleWith)) {}
    ~ScopedMemoryDC() {
        if (m_dc) DeleteDC(m_dc);
    }
    ScopedMemoryDC(const ScopedMemoryDC&) = delete;
    ScopedMemoryDC& operator=(const ScopedMemoryDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
};

// A GDI object (pen, brush, bitmap, font, region) deleted at scope end.
template <typename Handle>
class ScopedGdiObject {
public:
    explicit ScopedGdiObject(Handle handle = nullptr) : m_handle(handle) {}
    ~ScopedGdiObject() {
        if (m_handle) DeleteObject(m_handle);
    }
    ScopedGdiObject(const ScopedGdiObject&) = delete;
    ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;
    Handle Get() const { return m_handle; }
    // Hands ownership on (to a window region, say) and forgets the handle.
    Handle Release() {
        Handle h = m_handle;
        m_handle = nullptr;
        return h;
    }
    // Deletes the object held so far and takes the new one (or none).
    void Reset(Handle handle = nullptr) {
        if (m_handle) DeleteObject(m_handle);
        m_handle = handle;
    }

private:
    Handle m_handle;
};

// Selects an object into a DC and selects the previous one back at scope end.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    ~ScopedSelect() {
        if (m_previous) SelectObject(m_dc, m_previous);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// Saves the device context's state and restores it at scope end.
class ScopedSavedDC {
public:
    explicit ScopedSavedDC(HDC dc) : m_dc(dc), m_saved(SaveDC(dc)) {}
    ~ScopedSavedDC() {
        if (m_saved) RestoreDC(m_dc, m_saved);
    }
    ScopedSavedDC(const ScopedSavedDC&) = delete;
    ScopedSavedDC& operator=(const ScopedSavedDC&) = delete;

private:
    HDC m_dc;
    int m_saved;
};

// The display's own device context from CreateDCA, deleted at scope end.
class ScopedDisplayDC {
public:
    ScopedDisplayDC() : m_dc(CreateDCA("DISPLAY", nullptr, nullptr, nullptr)) {}
    ~ScopedDisplayDC() {
        if (m_dc) DeleteDC(m_dc);
    }
    ScopedDisplayDC(const ScopedDisplayDC&) = delete;
    ScopedDisplayDC& operator=(const ScopedDisplayDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
};
