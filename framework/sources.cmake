list(APPEND BRANTLE_WIN_SOURCES framework/WinAppProfile.cpp framework/Wnd.cpp)
