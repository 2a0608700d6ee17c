// Compressors built into the program, registered with the compressor manager
// for this process. Call before the compressor catalogue is built.
#pragma once

// Returns whether they are registered; repeated calls do nothing more.
bool InstallBuiltInCompressors();
