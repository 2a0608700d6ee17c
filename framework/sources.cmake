list(APPEND BRANTLE_PORTABLE_SOURCES
    framework/CommandStrings.cpp
    framework/IntegerText.cpp
    framework/StatusPanes.cpp
)
list(APPEND BRANTLE_WIN_SOURCES
    framework/DataExchangeControls.cpp
    framework/DataExchangeLists.cpp
    framework/DataValidation.cpp
    framework/Dialog.cpp
    framework/DocView.cpp
    framework/DragRect.cpp
    framework/FrameWnd.cpp
    framework/StatusBar.cpp
    framework/ToolBar.cpp
    framework/WinAppProfile.cpp
    framework/WinAppRun.cpp
    framework/WinThread.cpp
    framework/Wnd.cpp
)
list(APPEND BRANTLE_WIN_LIBS comctl32)
