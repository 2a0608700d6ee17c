// The main window's view: the program's picture, top-left aligned, at the
// window's density (drawn for 96 dots per inch), on a dark fill where the
// window is larger than the picture.
#pragma once

#include <windows.h>

#include "framework/DocView.h"
#include "framework/ScopedHandles.h"

class CHalvexView : public CView {
public:
    CHalvexView();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnEraseBkgnd(HDC dc);

    ScopedGdiObject<HBITMAP> m_picture;
};
