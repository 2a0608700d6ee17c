# The recording threads, the grab, the border and the state they share.
# Recording straight to MP4 needs the encoders of third_party/build.sh.
if(WIN32 AND NOT BRANTLE_ENCODERS_FOUND)
    message(FATAL_ERROR "The recorder needs the encoders: run third_party/build.sh and pass "
            "-DBRANTLE_THIRD_PARTY_DIR=$(third_party/build.sh --dir)")
endif()
brantle_layer(engine DEPENDS framework settings avi mp4 encode
    PORTABLE
        engine/AudioRing.cpp
        engine/BorderGeometry.cpp
        engine/CompressorFitting.cpp
        engine/FrameBlock.cpp
        engine/FrameSchedule.cpp
        engine/KeyFramePace.cpp
        engine/Mp4Recording.cpp
        engine/PauseGate.cpp
        engine/RecordingState.cpp
        engine/SoundClock.cpp
    WINDOWS
        engine/FileFailure.cpp
        engine/FlashingWnd.cpp
        engine/FrameBlockPool.cpp
        engine/FrameCompressor.cpp
        engine/FrameGrabber.cpp
        engine/H264FrameEncoder.cpp
        engine/Mp4FilmWriter.cpp
        engine/RcdAudioThread.cpp
        engine/RcdAviThread.cpp
        engine/RecordingMessages.cpp
        engine/ScreenCopy.cpp
    LIBS msvfw32 winmm dsound ole32 dxguid)
