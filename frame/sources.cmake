# The main window and its recording controller, which installs the mouse
# hook of hook.dll; the tray icon and the shell's open verb (shell32).
brantle_layer(frame DEPENDS framework settings res menu region avi engine options
    PORTABLE
        frame/ControllerRules.cpp
        frame/FreeFileName.cpp
    WINDOWS
        frame/AboutDlg.cpp
        frame/GlobalHotkeys.cpp
        frame/HalvexView.cpp
        frame/MainFrame.cpp
        frame/RecordController.cpp
        frame/ShellCommands.cpp
        frame/TrayIcon.cpp
    LIBS hook shell32 winmm)
