list(APPEND BRANTLE_PORTABLE_SOURCES app/RecordSettings.cpp)
list(APPEND BRANTLE_WIN_SOURCES app/HalvexApp.cpp)
