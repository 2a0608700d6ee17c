list(APPEND BRANTLE_PORTABLE_SOURCES codecs/Video1Block.cpp codecs/Video1Encoder.cpp
     codecs/Video1Pixels.cpp)
list(APPEND BRANTLE_WIN_SOURCES codecs/BuiltInCompressors.cpp codecs/PlatformDecompressor.cpp
     codecs/Video1Driver.cpp)
