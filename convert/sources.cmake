# The converter program's layer: AVI recordings to MP4 (H.264 and AAC). Its
# arithmetic and names need no Windows; the rest needs the encoders
# (cmake/third_party.cmake), without which there is no converter.
set(brantle_convert_windows)
set(brantle_convert_libs)
if(BRANTLE_ENCODERS_FOUND)
    set(brantle_convert_windows
        convert/Conversion.cpp
        convert/ConverterDlg.cpp
        convert/FrameDecoder.cpp)
    set(brantle_convert_libs msvfw32 comctl32 comdlg32 shell32)
endif()
brantle_layer(convert DEPENDS framework avi mp4 codecs encode
    PORTABLE convert/ConversionRules.cpp
    WINDOWS ${brantle_convert_windows}
    LIBS ${brantle_convert_libs})
