list(APPEND BRANTLE_PORTABLE_SOURCES engine/BorderGeometry.cpp engine/RecordingState.cpp)
list(APPEND BRANTLE_WIN_SOURCES engine/FlashingWnd.cpp)
