# The recording threads, the grab, the border and the state they share.
brantle_layer(engine DEPENDS framework settings avi
    PORTABLE
        engine/AudioRing.cpp
        engine/BorderGeometry.cpp
        engine/CompressorFitting.cpp
        engine/FrameBlock.cpp
        engine/FrameSchedule.cpp
        engine/KeyFramePace.cpp
        engine/PauseGate.cpp
        engine/RecordingState.cpp
        engine/SoundClock.cpp
    WINDOWS
        engine/FileFailure.cpp
        engine/FlashingWnd.cpp
        engine/FrameBlockPool.cpp
        engine/FrameCompressor.cpp
        engine/FrameGrabber.cpp
        engine/RcdAudioThread.cpp
        engine/RcdAviThread.cpp
        engine/RecordingMessages.cpp
        engine/ScreenCopy.cpp
    LIBS msvfw32 winmm dsound ole32 dxguid)
