// Writes a ZMBV recording as the program does, through our frame compressor
// and AVI writer, of the ZMBV driver tests' screen-like scene (scrolling
// text, a moving rectangle) in 32-bit frames; and the frames it was given,
// one after the other, as raw bottom-up 32-bit bitmaps. The ZMBV driver is
// installed for this process only.
// Usage: zmbv_file_maker FILE.avi FRAMES.raw WIDTH HEIGHT FRAMES KEY_EVERY
#include <windows.h>

#include <vfw.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "avi/AviWriter.h"
#include "avi/WindowsOutputFile.h"
#include "codecs/ZmbvCompressor.h"
#include "codecs/ZmbvDriver.h"
#include "engine/FrameCompressor.h"
#include "tests/win/ZmbvFrames.h"

namespace {

constexpr DWORD Zmbv = mmioFOURCC('Z', 'M', 'B', 'V');
constexpr uint32_t Rate = 10;

struct Scene {
    int width, height, frames, keyEvery;
};

// A frame as the grabber hands it on: the header, then the pixels.
std::vector<uint8_t> PackedFrame(const Scene& scene, int frame) {
    const BITMAPINFOHEADER header = RgbHeader(scene.width, scene.height, 32);
    const auto* bytes = reinterpret_cast<const uint8_t*>(&header);
    std::vector<uint8_t> packed(bytes, bytes + sizeof header);
    const std::vector<uint8_t> pixels = SceneFrame(scene.width, scene.height, 32, frame);
    packed.insert(packed.end(), pixels.begin(), pixels.end());
    return packed;
}

int Fail(const char* what) {
    std::fprintf(stderr, "zmbv_file_maker: %s\n", what);
    return 1;
}

int Make(const std::string& aviPath, const std::string& rawPath, const Scene& scene) {
    const int quality = ZmbvCompressor::DefaultQuality;
    FrameCompressor compressor(Zmbv, RgbHeader(scene.width, scene.height, 32), quality,
                               scene.keyEvery, Rate);
    if (!compressor.Ready()) return Fail("the ZMBV compressor refused the frames");
    AviVideoStream video;
    video.handler = Zmbv;
    video.rate = Rate;
    video.quality = quality;
    video.format = compressor.OutputFormat();
    WindowsOutputFile file(aviPath);
    AviWriter writer(file, video, nullptr);
    if (!file.Opened() || !writer.Open()) return Fail("cannot start the AVI file");
    std::ofstream raw(rawPath, std::ios::binary);
    for (int i = 0; i < scene.frames; ++i) {
        const std::vector<uint8_t> packed = PackedFrame(scene, i);
        FrameCompressor::Result out{};
        if (!compressor.Compress(*reinterpret_cast<const BITMAPINFOHEADER*>(packed.data()), out))
            return Fail("a frame was not compressed");
        if (!writer.WriteVideo(uint32_t(i), out.data, out.size, out.keyFrame))
            return Fail("a frame was not written");
        raw.write(reinterpret_cast<const char*>(packed.data()) + sizeof(BITMAPINFOHEADER),
                  std::streamsize(packed.size() - sizeof(BITMAPINFOHEADER)));
        std::printf("frame %d: %u bytes%s\n", i, unsigned(out.size), out.keyFrame ? ", key" : "");
    }
    raw.close();
    if (!writer.Close()) return Fail("the AVI file was not closed");
    return raw ? 0 : Fail("the raw frames were not written");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 7) {
        std::fprintf(stderr,
                     "usage: zmbv_file_maker FILE.avi FRAMES.raw WIDTH HEIGHT FRAMES KEY_EVERY\n");
        return 2;
    }
    if (!ICInstall(ICTYPE_VIDEO, Zmbv, reinterpret_cast<LPARAM>(&ZmbvDriverProc), nullptr,
                   ICINSTALL_FUNCTION))
        return Fail("the ZMBV driver was not installed");
    const Scene scene{std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]),
                      std::atoi(argv[6])};
    const int status = Make(argv[1], argv[2], scene);
    ICRemove(ICTYPE_VIDEO, Zmbv, 0);
    return status;
}
