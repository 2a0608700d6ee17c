list(APPEND BRANTLE_WIN_SOURCES options/CompressorCatalogue.cpp)
