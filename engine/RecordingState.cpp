#include "engine/RecordingState.h"

RecordingState TheRecordingState;

void RecordingState::Begin() {
    LeftClickState = 0;
    RightClickState = 0;
    FileSettled.Reset();
    AudioFinished.Reset();
    FilmEnded.Reset();
    FilmLengthMs = 0;
    RecordingFile = nullptr;
    RecordingActive = 1;
}
