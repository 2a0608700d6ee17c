// Plays the first video stream of an AVI file through the platform's AVI
// layer alone, as any player would: the layer asks the compressor manager
// for a decompressor of the stream's code. Holds none of our codec code.
// Writes every frame, as a bottom-up 32-bit bitmap, to a raw file, and
// prints the stream, the decompressor found and the frames decoded.
// Usage: zmbv_file_reader FILE.avi FRAMES.raw
// Exit status: 0 every frame decoded; 1 the file or the output failed;
// 2 no decompressor for the stream; 3 a frame was not decoded.
#include <windows.h>

#include <vfw.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int NoDecompressor = 2, FrameFailed = 3;

BITMAPINFOHEADER Rgb32Like(const BITMAPINFOHEADER& format) {
    BITMAPINFOHEADER wanted{};
    wanted.biSize = sizeof wanted;
    wanted.biWidth = format.biWidth;
    wanted.biHeight = format.biHeight;
    wanted.biPlanes = 1;
    wanted.biBitCount = 32;
    wanted.biCompression = BI_RGB;
    wanted.biSizeImage = DWORD(format.biWidth) * 4 * DWORD(format.biHeight);
    return wanted;
}

std::string Narrow(const WCHAR* text) {
    char narrow[MAX_PATH] = "";
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

// Which driver the compressor manager finds for the conversion.
void DescribeDecompressor(BITMAPINFOHEADER in, BITMAPINFOHEADER out) {
    HIC found = ICLocate(ICTYPE_VIDEO, 0, &in, &out, ICMODE_DECOMPRESS);
    if (!found) return;
    ICINFO info{};
    if (ICGetInfo(found, &info, sizeof info)) {
        std::printf("decompressor: %s (%s)\n", Narrow(info.szDescription).c_str(),
                    Narrow(info.szDriver).c_str());
    }
    ICClose(found);
}

int WriteFrames(PAVISTREAM stream, PGETFRAME frames, const BITMAPINFOHEADER& wanted,
                std::ofstream& raw) {
    int decoded = 0;
    for (LONG i = AVIStreamStart(stream); i < AVIStreamEnd(stream); ++i) {
        const auto* dib = static_cast<const BITMAPINFOHEADER*>(AVIStreamGetFrame(frames, i));
        if (!dib || dib->biBitCount != 32 || dib->biCompression != BI_RGB ||
            dib->biWidth != wanted.biWidth || dib->biHeight != wanted.biHeight) {
            std::printf("frame %ld not decoded\n", long(i));
            return FrameFailed;
        }
        const auto* bits = reinterpret_cast<const char*>(dib) + dib->biSize + 4 * dib->biClrUsed;
        raw.write(bits, std::streamsize(wanted.biSizeImage));
        ++decoded;
    }
    std::printf("frames decoded: %d\n", decoded);
    return raw ? 0 : 1;
}

int Play(PAVISTREAM stream, const char* rawPath) {
    // A palettized stream's format holds its colour table after the header.
    LONG size = 0;
    if (AVIStreamReadFormat(stream, 0, nullptr, &size) != AVIERR_OK ||
        size < LONG(sizeof(BITMAPINFOHEADER))) {
        std::printf("no stream format\n");
        return 1;
    }
    std::vector<char> whole(size_t(size), 0);
    if (AVIStreamReadFormat(stream, 0, whole.data(), &size) != AVIERR_OK) return 1;
    BITMAPINFOHEADER format{};
    std::memcpy(&format, whole.data(), sizeof format);
    const DWORD code = format.biCompression;
    std::printf("stream: '%.4s' %ld x %ld, %ld frames\n", reinterpret_cast<const char*>(&code),
                long(format.biWidth), long(format.biHeight), long(AVIStreamLength(stream)));
    BITMAPINFOHEADER wanted = Rgb32Like(format);
    PGETFRAME frames = AVIStreamGetFrameOpen(stream, &wanted);
    if (!frames) {
        std::printf("no decompressor for the stream\n");
        return NoDecompressor;
    }
    DescribeDecompressor(format, wanted);
    std::ofstream raw(rawPath, std::ios::binary);
    const int status = raw ? WriteFrames(stream, frames, wanted, raw) : 1;
    AVIStreamGetFrameClose(frames);
    return status;
}

int Read(const char* aviPath, const char* rawPath) {
    PAVIFILE file = nullptr;
    if (AVIFileOpenA(&file, aviPath, OF_READ, nullptr) != AVIERR_OK) {
        std::printf("cannot open %s\n", aviPath);
        return 1;
    }
    PAVISTREAM stream = nullptr;
    int status = 1;
    if (AVIFileGetStream(file, &stream, streamtypeVIDEO, 0) == AVIERR_OK) {
        status = Play(stream, rawPath);
        AVIStreamRelease(stream);
    }
    AVIFileRelease(file);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: zmbv_file_reader FILE.avi FRAMES.raw\n");
        return 1;
    }
    AVIFileInit();
    const int status = Read(argv[1], argv[2]);
    AVIFileExit();
    return status;
}
