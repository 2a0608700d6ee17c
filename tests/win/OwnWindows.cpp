#include "tests/win/OwnWindows.h"

#include <cstring>

HWND ShownWindowOfClass(const char* className) {
    struct Query {
        const char* className;
        HWND found;
    } query{className, nullptr};
    EnumWindows(
        [](HWND w, LPARAM out) {
            auto* q = reinterpret_cast<Query*>(out);
            DWORD process = 0;
            GetWindowThreadProcessId(w, &process);
            char cls[64] = {};
            GetClassNameA(w, cls, sizeof cls);
            if (process != GetCurrentProcessId() || std::strcmp(cls, q->className) != 0 ||
                !IsWindowVisible(w))
                return TRUE;
            q->found = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&query));
    return query.found;
}
