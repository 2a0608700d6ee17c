#include "engine/RecordingState.h"

RecordingState TheRecordingState;

void RecordingState::Begin() {
    LeftClickState = 0;
    RightClickState = 0;
    FileSettled.Reset();
    AudioFinished.Reset();
    RecordingAviFile = nullptr;
    RecordingActive = 1;
}
