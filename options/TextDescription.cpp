#include "options/TextDescription.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

std::string DescribeFont(const FontRecord& font) {
    const void* end = std::memchr(font.lfFaceName, '\0', sizeof font.lfFaceName);
    const size_t length = end ? static_cast<size_t>(static_cast<const char*>(end) - font.lfFaceName)
                              : sizeof font.lfFaceName;
    const std::string face(font.lfFaceName, length);
    // Widened first: the magnitude of the most negative height does not fit an int.
    const long long size = std::llabs(static_cast<long long>(font.lfHeight));
    char text[96];
    std::snprintf(text, sizeof text, "Font Name: %s \nFont Size: %lld", face.c_str(), size);
    return text;
}
