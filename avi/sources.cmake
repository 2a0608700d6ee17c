# Our AVI 2.0 (OpenDML) writer, over a small file interface; the Windows
# file behind it.
brantle_layer(avi
    PORTABLE avi/AviHeader.cpp avi/AviIndex.cpp avi/AviWriter.cpp
    WINDOWS avi/WindowsOutputFile.cpp)
