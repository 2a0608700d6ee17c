list(APPEND BRANTLE_PORTABLE_SOURCES
    frame/ControllerRules.cpp
    frame/HotkeyFlags.cpp
    frame/PictureColours.cpp
)
list(APPEND BRANTLE_WIN_SOURCES
    frame/AboutDlg.cpp
    frame/GlobalHotkeys.cpp
    frame/HalvexView.cpp
    frame/MainFrame.cpp
    frame/RecordController.cpp
    frame/ShellCommands.cpp
    frame/ToolBarPictures.cpp
    frame/TrayIcon.cpp
)
# The tray icon and the shell's open verb.
list(APPEND BRANTLE_WIN_LIBS shell32)
