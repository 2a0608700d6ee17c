#include "engine/RecordingState.h"

RecordingState TheRecordingState;
