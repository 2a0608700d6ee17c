list(APPEND BRANTLE_PORTABLE_SOURCES codecs/Video1Block.cpp codecs/Video1Encoder.cpp
     codecs/Video1Pixels.cpp)
