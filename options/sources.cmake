# The option dialogs, the catalogues they choose from and the sound device.
# The rules, the format lists and the font description need no Windows.
brantle_layer(options DEPENDS framework settings res codecs region engine
    PORTABLE
        options/AudioDeviceList.cpp
        options/AudioFormats.cpp
        options/GeneralOptions.cpp
        options/HotkeyNames.cpp
        options/RecordOptionValues.cpp
        options/TextDescription.cpp
    WINDOWS
        options/AudioCaptureDevice.cpp
        options/AudioFormatCatalogue.cpp
        options/AudioOptionsDlg.cpp
        options/CompressorCatalogue.cpp
        options/HotKeyOptionsDlg.cpp
        options/MouseDownOptionDlg.cpp
        options/OptionDlg.cpp
        options/OutputFileDlg.cpp
        options/RecordOptionDlg.cpp
        options/TextOptionDlg.cpp
    LIBS msvfw32 dsound ole32 comctl32 comdlg32 shell32)
