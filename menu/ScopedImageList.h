// Owns an image list for the length of one operation.
#pragma once

#include <windows.h>

#include <commctrl.h>

class ScopedImageList {
public:
    explicit ScopedImageList(HIMAGELIST list) : m_list(list) {}
    ~ScopedImageList() {
        if (m_list) ImageList_Destroy(m_list);
    }
    ScopedImageList(const ScopedImageList&) = delete;
    ScopedImageList& operator=(const ScopedImageList&) = delete;
    HIMAGELIST Get() const { return m_list; }

private:
    HIMAGELIST m_list;
};
