# The converter program's layer: AVI recordings to MP4 (H.264 and AAC). Its
# arithmetic and names need no Windows.
brantle_layer(convert DEPENDS framework avi
    PORTABLE
        convert/ColourConversion.cpp
        convert/ConversionRules.cpp
        convert/SoundConversion.cpp)
