// The recording controller's arithmetic, kept free of <windows.h>: the
// status panes for a progress message, the click-mark states after a mouse
// event, and the region a selection message describes.
#pragma once

#include <cstdint>
#include <string>

// Progress codes in WM_RECORD_STATUS's wParam; 0 or more is a frame count.
constexpr int StatusRecording = -1;
constexpr int StatusPaused = -2;
constexpr int StatusStopped = -3;
constexpr int StatusStartFailed = -4;

// What pane 1 can show; the pane is made wide enough for each.
constexpr const char* TextRecording = "Recording";
constexpr const char* TextPaused = "Paused";
constexpr const char* TextStopped = "Recording stopped";
constexpr const char* TextStartFailed = "Start failed";
constexpr const char* RecordingStateTexts[] = {TextRecording, TextPaused, TextStopped,
                                               TextStartFailed};

struct StatusPaneUpdate {
    std::string stateText;     // pane 1, always set
    bool setProgress = false;  // pane 2 changes with a frame count, and is emptied at a start
    std::string progressText;
};

// While paused, a frame count that the recording thread posted just before
// it parked still updates the progress but leaves "Paused" standing.
StatusPaneUpdate StatusForMessage(int code, int seconds, bool paused);

// Click marks: a press sets its button's state to 2, a release lowers it by
// one while above 0, anything else leaves both.
struct ClickStates {
    int32_t left;
    int32_t right;
};
ClickStates ClickStatesAfter(uint32_t mouseMessage, ClickStates states);

// The top-left corner and size of the inclusive rectangle in a selection
// message's parameters.
struct SelectedRegion {
    int left, top, width, height;
};
SelectedRegion RegionFromMessage(uint64_t wParam, uint64_t lParam);

// The tray icon's states, and its tooltip: the program's name, and while a
// recording runs a second line naming its file (the name only, cut to what
// the tooltip holds, tipCapacity bytes with the terminating zero).
enum class TrayState { Idle, Recording, Paused };
std::string TrayTip(TrayState state, const std::string& filePath, size_t tipCapacity);

// The name part of a Windows path.
std::string FileNamePart(const std::string& path);
