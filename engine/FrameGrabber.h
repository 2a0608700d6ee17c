// Grabs one video frame: a rectangle of the screen at the display's depth,
// with click marks, the cursor and the text line drawn in, as a packed DIB.
// Everything here runs on the video recording thread.
#pragma once

#include <windows.h>

#include <memory>

#include "engine/FrameBlockPool.h"
#include "engine/RecordingState.h"
#include "engine/ScreenCopy.h"
#include "settings/RecordSettings.h"

// What a grab reads. The settings are read live at every grab.
struct GrabSettings {
    const RecordSettings* settings;
    RecordingState* state;
    int showCursor;  // the thread's copy of ShowCursor, taken when it started
    // A recording's screen copy, made by the first grab and kept for the
    // next ones; without it each grab makes its own.
    std::unique_ptr<ScreenCopy>* kept = nullptr;
    // Blocks to use again, when the recording keeps them; else each grab
    // allocates its own.
    FrameBlockPool* blocks = nullptr;
};

// Returns the locked frame block (the caller owns it; release it with
// ReleaseFrame, or give it to the pool it came from), or nullptr when the block could not be allocated, after
// telling the user so. A probe grab leaves the border window alone.
BITMAPINFOHEADER* GrabFrame(const GrabSettings& in, int left, int top, int width, int height,
                            bool probe);

// Copies a bitmap (selected into no DC) into a new unlocked frame block at
// the given depth; null when the block could not be allocated.
HGLOBAL BitmapToDib(HBITMAP bitmap, int bitCount);

// ANDs a disc of the button's colour (0 left, 1 right) into the 128 x 128
// square whose top-left corner is (x, y).
void DrawClickMark(HDC dc, int x, int y, int button, const RecordSettings& settings);

// Unlocks and frees a block from GrabFrame; null is ignored.
void ReleaseFrame(BITMAPINFOHEADER* block);

// Allocates frame blocks: GlobalAlloc, replaceable so that tests can make
// the allocation fail.
extern HGLOBAL(WINAPI* FrameBlockAlloc)(UINT flags, SIZE_T bytes);
