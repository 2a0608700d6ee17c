list(APPEND BRANTLE_PORTABLE_SOURCES options/AudioDeviceList.cpp options/AudioFormats.cpp)
list(APPEND BRANTLE_WIN_SOURCES options/AudioCaptureDevice.cpp options/AudioFormatCatalogue.cpp
     options/CompressorCatalogue.cpp)
list(APPEND BRANTLE_WIN_LIBS dsound ole32)
# The option dialogs: hotkey controls (comctl32) and the save dialog (comdlg32).
list(APPEND BRANTLE_WIN_SOURCES options/HotKeyOptionsDlg.cpp options/OutputFileDlg.cpp)
list(APPEND BRANTLE_WIN_LIBS comctl32 comdlg32)
# The Record Option and Audio Options dialogs; the record option rules need no Windows.
list(APPEND BRANTLE_PORTABLE_SOURCES options/RecordOptionValues.cpp)
list(APPEND BRANTLE_WIN_SOURCES options/AudioOptionsDlg.cpp options/RecordOptionDlg.cpp)
# The Option dialog with its click-colour and text dialogs (comdlg32's colour
# and font dialogs); the option rules and the font description need no Windows.
list(APPEND BRANTLE_PORTABLE_SOURCES options/GeneralOptions.cpp options/TextDescription.cpp)
list(APPEND BRANTLE_WIN_SOURCES options/MouseDownOptionDlg.cpp options/OptionDlg.cpp
     options/TextOptionDlg.cpp)
