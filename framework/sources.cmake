list(APPEND BRANTLE_WIN_SOURCES
    framework/DragRect.cpp
    framework/WinAppProfile.cpp
    framework/WinThread.cpp
    framework/Wnd.cpp
)
