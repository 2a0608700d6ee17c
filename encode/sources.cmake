# The encoders' side of making an MP4: screen pictures to 4:2:0, PCM to the
# AAC encoder's samples (no Windows), and the H.264 and AAC encoders of the
# libraries built by third_party/build.sh, without which there are none.
set(brantle_encode_windows)
set(brantle_encode_libs)
if(BRANTLE_ENCODERS_FOUND)
    set(brantle_encode_windows encode/AacEncoder.cpp encode/H264Encoder.cpp)
    set(brantle_encode_libs brantle::x264 brantle::aacenc)
endif()
brantle_layer(encode
    PORTABLE
        encode/ColourConversion.cpp
        encode/PixelRows.cpp
        encode/SoundConversion.cpp
    WINDOWS ${brantle_encode_windows}
    LIBS ${brantle_encode_libs})
