list(APPEND BRANTLE_PORTABLE_SOURCES
    engine/AudioRing.cpp
    engine/BorderGeometry.cpp
    engine/CompressorFitting.cpp
    engine/FrameBlock.cpp
    engine/FrameSchedule.cpp
    engine/PauseGate.cpp
    engine/RecordingState.cpp
)
list(APPEND BRANTLE_WIN_SOURCES
    engine/FlashingWnd.cpp
    engine/FrameGrabber.cpp
    engine/RcdAudioThread.cpp
    engine/RcdAviThread.cpp
    engine/RecordingMessages.cpp
)
list(APPEND BRANTLE_WIN_LIBS dsound ole32 dxguid)
