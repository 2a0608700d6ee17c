# The built-in compressors behind the compressor manager.
brantle_layer(codecs
    PORTABLE codecs/Video1Block.cpp codecs/Video1Encoder.cpp codecs/Video1Pixels.cpp
             codecs/ZmbvDecoder.cpp codecs/ZmbvDeflater.cpp codecs/ZmbvEncoder.cpp
             codecs/ZmbvInflater.cpp codecs/ZmbvMotion.cpp codecs/ZmbvOutput.cpp codecs/ZmbvPixels.cpp
    WINDOWS codecs/BuiltInCompressors.cpp codecs/PlatformDecompressor.cpp codecs/Video1Driver.cpp
            codecs/ZmbvCompressor.cpp codecs/ZmbvDecompressor.cpp codecs/ZmbvDriver.cpp
    LIBS msvfw32 winmm z)
