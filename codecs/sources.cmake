# The built-in compressors behind the compressor manager.
brantle_layer(codecs
    PORTABLE codecs/Video1Block.cpp codecs/Video1Encoder.cpp codecs/Video1Pixels.cpp
    WINDOWS codecs/BuiltInCompressors.cpp codecs/PlatformDecompressor.cpp codecs/Video1Driver.cpp
    LIBS msvfw32)
