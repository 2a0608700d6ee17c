// Owns one image list and destroys it with itself.
#pragma once

#include <windows.h>

#include <commctrl.h>

class CImageList {
public:
    explicit CImageList(HIMAGELIST list = nullptr) : m_list(list) {}
    ~CImageList() { Reset(nullptr); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    // Takes the list, destroying the one held so far.
    void Attach(HIMAGELIST list) { Reset(list); }
    HIMAGELIST GetSafeHandle() const { return m_list; }

private:
    void Reset(HIMAGELIST list) {
        if (m_list) ImageList_Destroy(m_list);
        m_list = list;
    }

    HIMAGELIST m_list;
};
