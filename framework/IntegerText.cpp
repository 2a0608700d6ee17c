#include "framework/IntegerText.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>

bool ParseInteger(const char* text, int& value) {
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text, &end, 10);
    if (end == text) return false;  // no digits at all
    // long is wider than int on some targets, so check both limits.
    if (errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX) return false;
    while (std::isspace(static_cast<unsigned char>(*end))) ++end;
    if (*end != '\0') return false;
    value = static_cast<int>(parsed);
    return true;
}
