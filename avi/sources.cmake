# Our AVI 2.0 (OpenDML) writer and reader, over small file interfaces; the
# Windows files behind them.
brantle_layer(avi
    PORTABLE avi/AviHeader.cpp avi/AviIndex.cpp avi/AviWriter.cpp
             avi/AviChunkWalk.cpp avi/AviFileReader.cpp avi/AviHeaderReader.cpp
             avi/AviIndexReader.cpp
    WINDOWS avi/WindowsOutputFile.cpp avi/WindowsInputFile.cpp)
