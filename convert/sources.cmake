# The converter program's layer: AVI recordings to MP4 (H.264 and AAC). Its
# arithmetic and names need no Windows; the rest needs the encoders
# (cmake/third_party.cmake), without which there is no converter.
set(brantle_convert_windows)
set(brantle_convert_libs)
if(BRANTLE_ENCODERS_FOUND)
    set(brantle_convert_windows
        convert/AacEncoder.cpp
        convert/Conversion.cpp
        convert/ConverterDlg.cpp
        convert/FrameDecoder.cpp
        convert/H264Encoder.cpp
        convert/PixelRows.cpp)
    set(brantle_convert_libs brantle::x264 brantle::aacenc msvfw32 comctl32 comdlg32 shell32)
endif()
brantle_layer(convert DEPENDS framework avi mp4 codecs
    PORTABLE
        convert/ColourConversion.cpp
        convert/ConversionRules.cpp
        convert/SoundConversion.cpp
    WINDOWS ${brantle_convert_windows}
    LIBS ${brantle_convert_libs})
