#include "frame/ControllerRules.h"

#include <cstdio>

#include "framework/PathParts.h"
#include "region/RegionMessage.h"

StatusPaneUpdate StatusForMessage(int code, int seconds, bool paused) {
    StatusPaneUpdate update;
    if (code >= 0) {
        char text[64];
        std::snprintf(text, sizeof text, "%d sec  %d  frames", seconds, code);
        update.stateText = paused ? TextPaused : TextRecording;
        update.setProgress = true;
        update.progressText = text;
    } else if (code == StatusRecording) {
        update.stateText = TextRecording;
        update.setProgress = true;  // a new recording: the last one's count goes
    } else if (code == StatusPaused) {
        update.stateText = TextPaused;
    } else if (code == StatusStopped) {
        update.stateText = TextStopped;
    } else if (code == StatusStartFailed) {
        update.stateText = TextStartFailed;
        update.setProgress = true;
    }
    return update;
}

ClickStates ClickStatesAfter(uint32_t mouseMessage, ClickStates states) {
    constexpr uint32_t LeftDown = 0x201, LeftUp = 0x202, RightDown = 0x204, RightUp = 0x205;
    switch (mouseMessage) {
        case LeftDown:
            states.left = 2;
            break;
        case LeftUp:
            if (states.left > 0) --states.left;
            break;
        case RightDown:
            states.right = 2;
            break;
        case RightUp:
            if (states.right > 0) --states.right;
            break;
    }
    return states;
}

SelectedRegion RegionFromMessage(uint64_t wParam, uint64_t lParam) {
    const PixelRect r = UnpackRegion(wParam, lParam);
    return {r.left, r.top, r.right - r.left + 1, r.bottom - r.top + 1};
}

std::string FileNamePart(const std::string& path) { return path.substr(FileNameStart(path)); }

std::string TrayTip(TrayState state, const std::string& filePath, size_t tipCapacity) {
    std::string tip = "Brantle for Windows";
    if (state == TrayState::Idle) return tip;
    tip += state == TrayState::Recording ? "\nRecording: " : "\nPaused: ";
    tip += FileNamePart(filePath);
    if (tip.size() >= tipCapacity) tip = tip.substr(0, tipCapacity - 4) + "...";
    return tip;
}
