# Cross build for 64-bit Windows with the MinGW-w64 "-posix" compilers (the
# win32-threads variant has no std::mutex, which GoogleTest needs). Linked
# statically so that no MinGW DLL is needed at run time. Programs and tests
# run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
