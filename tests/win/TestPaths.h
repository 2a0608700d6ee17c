// Where the tests put their files and find the programs and libraries they
// start: the temporary folder, and the folder of the running test program.
// Header-only, so that any test program can use it whatever it is built from.
#pragma once

#include <windows.h>

#include <string>

// A file of that name in the temporary folder.
inline std::string TempPath(const char* name) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

// The same, removed first, so that whatever a test finds there is its own.
inline std::string FreshTempPath(const char* name) {
    const std::string path = TempPath(name);
    DeleteFileA(path.c_str());
    return path;
}

// A file beside the running program.
inline std::string BesideThisProgram(const char* name) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string program(path);
    return program.substr(0, program.find_last_of("\\/") + 1) + name;
}
