#include "engine/Mp4Recording.h"

#include <algorithm>
#include <cctype>

#include "framework/PathParts.h"

bool IsH264Mp4Handler(uint32_t fccHandler) { return fccHandler == FourccH264Mp4; }

int CrfForQuality(int videoQuality) {
    const int quality = std::clamp(videoQuality, 0, 10000);
    return 40 - (24 * quality + 5000) / 10000;
}

H264Settings RecordingH264Settings(int videoQuality, int keyFrames) {
    return {CrfForQuality(videoQuality), "superfast", std::max(keyFrames, 1), true};
}

namespace {

bool SameText(const std::string& a, const char* b) {
    return std::equal(
        a.begin(), a.end(), b, b + std::char_traits<char>::length(b),
        [](char x, char y) { return std::tolower(uint8_t(x)) == std::tolower(uint8_t(y)); });
}

}  // namespace

std::string WithContainerExtension(const std::string& path, bool mp4) {
    const size_t dot = ExtensionStart(path);
    const std::string extension = path.substr(dot);
    const char* from = mp4 ? ".avi" : ".mp4";
    if (!SameText(extension, from)) return path;
    return path.substr(0, dot) + (mp4 ? ".mp4" : ".avi");
}
