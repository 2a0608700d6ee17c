list(APPEND BRANTLE_PORTABLE_SOURCES frame/HotkeyFlags.cpp)
