list(APPEND BRANTLE_PORTABLE_SOURCES app/RecordSettings.cpp)
