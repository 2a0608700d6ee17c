// Compressors built into the program, registered with the compressor manager
// for this process. Call before the compressor catalogue is built.
#pragma once

#include <windows.h>

#include <array>

// Their handlers, in the order the catalogue lists them: the lossless ZMBV
// first, so that a new user's first recording loses nothing, then Video 1,
// the compressor a recording falls back to.
const std::array<DWORD, 2>& BuiltInHandlers();

// Returns whether they are registered; repeated calls do nothing more.
bool InstallBuiltInCompressors();
