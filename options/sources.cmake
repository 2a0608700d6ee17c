list(APPEND BRANTLE_PORTABLE_SOURCES options/AudioDeviceList.cpp options/AudioFormats.cpp)
list(APPEND BRANTLE_WIN_SOURCES options/AudioCaptureDevice.cpp options/AudioFormatCatalogue.cpp
     options/CompressorCatalogue.cpp)
list(APPEND BRANTLE_WIN_LIBS dsound ole32)
