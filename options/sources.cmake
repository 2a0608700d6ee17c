list(APPEND BRANTLE_PORTABLE_SOURCES options/AudioDeviceList.cpp options/AudioFormats.cpp)
list(APPEND BRANTLE_WIN_SOURCES options/AudioCaptureDevice.cpp options/AudioFormatCatalogue.cpp
     options/CompressorCatalogue.cpp)
list(APPEND BRANTLE_WIN_LIBS dsound ole32)
# The option dialogs: hotkey controls (comctl32) and the save dialog (comdlg32).
list(APPEND BRANTLE_WIN_SOURCES options/HotKeyOptionsDlg.cpp options/OutputFileDlg.cpp)
list(APPEND BRANTLE_WIN_LIBS comctl32 comdlg32)
