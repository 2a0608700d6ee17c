#include "engine/FrameBlockPool.h"

#include "engine/FrameBlock.h"

HGLOBAL FrameBlockPool::Take(size_t bytes) {
    std::lock_guard<std::mutex> hold(m_lock);
    while (!m_kept.empty()) {
        const Kept last = m_kept.back();
        m_kept.pop_back();
        if (last.bytes == bytes) return last.block;
        GlobalFree(last.block);
    }
    return nullptr;
}

void FrameBlockPool::Give(BITMAPINFOHEADER* frame) {
    if (!frame) return;
    const size_t bytes = FrameBlockSize(frame->biBitCount, frame->biWidth, frame->biHeight);
    HGLOBAL block = GlobalHandle(frame);
    GlobalUnlock(block);
    std::lock_guard<std::mutex> hold(m_lock);
    if (m_kept.size() < m_capacity)
        m_kept.push_back({block, bytes});
    else
        GlobalFree(block);
}

void FrameBlockPool::Clear() {
    std::lock_guard<std::mutex> hold(m_lock);
    for (const Kept& kept : m_kept) GlobalFree(kept.block);
    m_kept.clear();
}
