list(APPEND BRANTLE_WIN_SOURCES
    framework/WinAppProfile.cpp
    framework/WinThread.cpp
    framework/Wnd.cpp
)
