// Stands in for the programs the recorder hands things to through the shell
// (the player of .avi files, the browser): each start appends its arguments,
// as one line, to the file that BRANTLE_STAND_IN_LOG names, so that a test
// reads what the shell passed on.
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    char log[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("BRANTLE_STAND_IN_LOG", log, sizeof log)) return 2;
    std::string line;
    for (int i = 1; i < argc; ++i) line += (i > 1 ? " " : "") + std::string(argv[i]);
    line += "\n";
    FILE* out = std::fopen(log, "ab");
    if (!out) return 1;
    // One write per line: a reader never sees half a start.
    std::fwrite(line.data(), 1, line.size(), out);
    return std::fclose(out) == 0 ? 0 : 1;
}
