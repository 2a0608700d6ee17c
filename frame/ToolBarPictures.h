// The toolbar's pictures: eleven 32 x 32 pictures side by side in a 24-bit
// bitmap resource, drawn on pure red.
#pragma once

#include <windows.h>

#include <commctrl.h>

// An image list of the bitmap's pictures with the red background turned
// into the button face; null on failure.
HIMAGELIST LoadToolBarPictures(UINT bitmapId);

// Owns one image list.
class CImageList {
public:
    CImageList() = default;
    ~CImageList() {
        if (m_list) ImageList_Destroy(m_list);
    }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    void Attach(HIMAGELIST list) { m_list = list; }
    HIMAGELIST GetSafeHandle() const { return m_list; }

private:
    HIMAGELIST m_list = nullptr;
};
