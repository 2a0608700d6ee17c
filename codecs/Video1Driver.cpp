#include "codecs/Video1Driver.h"

#include "codecs/DriverMessages.h"
#include "codecs/PlatformDecompressor.h"
#include "codecs/Video1Encoder.h"

namespace {

// The stored format's code. Both ffmpeg and the platform's Video 1 decoder
// take it (checked in the tests).
const DWORD StreamFourcc = mmioFOURCC('C', 'R', 'A', 'M');
const DWORD HandlerFourcc = mmioFOURCC('M', 'S', 'V', 'C');
const DWORD DefaultQuality = static_cast<DWORD>(ICQUALITY_DEFAULT);

struct Video1Instance {
    Video1Encoder encoder;
    DWORD quality = Video1Encoder::DefaultQuality;
    int keyFrameEvery = 0;  // 0: only where the caller asks
    bool begun = false;
    BITMAPINFOHEADER input{};
    PlatformDecompressor decompressor;
};

bool InputSupported(const BITMAPINFOHEADER* in) {
    return in && in->biCompression == BI_RGB && in->biPlanes == 1 &&
           Video1Encoder::Supports(in->biWidth, in->biHeight, in->biBitCount);
}

bool OutputMatches(const BITMAPINFOHEADER* in, const BITMAPINFOHEADER* out) {
    const DWORD code = out->biCompression;
    const bool ours = code == StreamFourcc || code == HandlerFourcc ||
                      code == mmioFOURCC('c', 'r', 'a', 'm') ||
                      code == mmioFOURCC('m', 's', 'v', 'c');
    return ours && out->biBitCount == 16 && out->biWidth == in->biWidth &&
           out->biHeight == in->biHeight;
}

const BITMAPINFOHEADER* Header(LPARAM lParam) {
    const auto* info = reinterpret_cast<const BITMAPINFO*>(lParam);
    return info ? &info->bmiHeader : nullptr;
}

LRESULT GetInfo(ICINFO* info, LPARAM size) {
    if (!info || size < static_cast<LPARAM>(sizeof(ICINFO))) return 0;
    *info = ICINFO{};
    info->dwSize = sizeof(ICINFO);
    info->fccType = ICTYPE_VIDEO;
    info->fccHandler = HandlerFourcc;
    info->dwFlags = VIDCF_QUALITY | VIDCF_TEMPORAL | VIDCF_FASTTEMPORALC;
    info->dwVersion = 1;
    info->dwVersionICM = ICVERSION;
    lstrcpyW(info->szName, L"Video 1");
    lstrcpyW(info->szDescription, L"Video 1 (built-in)");
    return sizeof(ICINFO);
}

LRESULT CompressQuery(LPARAM lParam1, LPARAM lParam2) {
    const BITMAPINFOHEADER* in = Header(lParam1);
    if (!InputSupported(in)) return ICERR_BADFORMAT;
    const BITMAPINFOHEADER* out = Header(lParam2);
    return !out || OutputMatches(in, out) ? ICERR_OK : ICERR_BADFORMAT;
}

LRESULT CompressGetFormat(LPARAM lParam1, LPARAM lParam2) {
    const BITMAPINFOHEADER* in = Header(lParam1);
    if (!InputSupported(in)) return ICERR_BADFORMAT;
    auto* out = reinterpret_cast<BITMAPINFOHEADER*>(lParam2);
    if (!out) return sizeof(BITMAPINFOHEADER);
    *out = BITMAPINFOHEADER{};
    out->biSize = sizeof(BITMAPINFOHEADER);
    out->biWidth = in->biWidth;
    out->biHeight = in->biHeight;
    out->biPlanes = 1;
    out->biBitCount = 16;
    out->biCompression = StreamFourcc;
    out->biSizeImage = static_cast<DWORD>(Video1Encoder::MaxFrameBytes(in->biWidth, in->biHeight));
    return ICERR_OK;
}

LRESULT CompressGetSize(LPARAM lParam1) {
    const BITMAPINFOHEADER* in = Header(lParam1);
    if (!InputSupported(in)) return 0;
    return static_cast<LRESULT>(Video1Encoder::MaxFrameBytes(in->biWidth, in->biHeight));
}

LRESULT CompressBegin(Video1Instance& self, LPARAM lParam1, LPARAM lParam2) {
    if (CompressQuery(lParam1, lParam2) != ICERR_OK) return ICERR_BADFORMAT;
    self.input = *Header(lParam1);
    self.begun = self.encoder.Begin(self.input.biWidth, self.input.biHeight, self.input.biBitCount,
                                    self.keyFrameEvery);
    return ICERR_OK;
}

bool SameInput(const BITMAPINFOHEADER& a, const BITMAPINFOHEADER* b) {
    return b && a.biWidth == b->biWidth && a.biHeight == b->biHeight &&
           a.biBitCount == b->biBitCount && b->biCompression == BI_RGB;
}

LRESULT Compress(Video1Instance& self, ICCOMPRESS* ic) {
    if (!ic || !ic->lpInput || !ic->lpOutput || !ic->lpbiOutput) return ICERR_BADPARAM;
    if (!self.begun || !SameInput(self.input, ic->lpbiInput)) {
        if (CompressBegin(self, reinterpret_cast<LPARAM>(ic->lpbiInput), 0) != ICERR_OK) {
            return ICERR_BADFORMAT;
        }
    }
    const bool forceKey = (ic->dwFlags & ICCOMPRESS_KEYFRAME) != 0 || ic->lFrameNum == 0;
    const DWORD quality = ic->dwQuality == DefaultQuality ? self.quality : ic->dwQuality;
    const Video1FrameResult result =
        self.encoder.Encode(static_cast<const uint8_t*>(ic->lpInput), static_cast<int>(quality),
                            forceKey, static_cast<uint8_t*>(ic->lpOutput));
    ic->lpbiOutput->biSizeImage = static_cast<DWORD>(result.size);
    if (ic->lpdwFlags) *ic->lpdwFlags = result.keyFrame ? AVIIF_KEYFRAME : 0;
    return ICERR_OK;
}

LRESULT FramesInfo(Video1Instance& self, const ICCOMPRESSFRAMES* frames) {
    if (!frames) return ICERR_BADPARAM;
    if (frames->lQuality >= 0) self.quality = static_cast<DWORD>(frames->lQuality);
    self.keyFrameEvery = frames->lKeyRate > 0 ? static_cast<int>(frames->lKeyRate) : 0;
    return ICERR_OK;
}

LRESULT About(LPARAM lParam1) {
    if (lParam1 == -1) return ICERR_OK;  // only asked whether there is an about box
    MessageBoxA(reinterpret_cast<HWND>(lParam1),
                "Video 1 compressor built into Brantle for Windows.\n"
                "Compresses 16, 24 and 32-bit frames.",
                "About Video 1", MB_OK | MB_ICONINFORMATION);
    return ICERR_OK;
}

LRESULT InstanceMessage(Video1Instance& self, UINT message, LPARAM lParam1, LPARAM lParam2) {
    switch (message) {
        case ICM_GETDEFAULTQUALITY:
            return PutDword(lParam1, Video1Encoder::DefaultQuality);
        case ICM_GETQUALITY:
            return PutDword(lParam1, self.quality);
        case ICM_SETQUALITY:
            self.quality =
                static_cast<DWORD>(lParam1) > 10000 ? 10000 : static_cast<DWORD>(lParam1);
            return ICERR_OK;
        case ICM_GETSTATE:
            return 0;  // no settings to keep
        case ICM_SETSTATE:
            return 0;
        case ICM_ABOUT:
            return About(lParam1);
        case ICM_COMPRESS_QUERY:
            return CompressQuery(lParam1, lParam2);
        case ICM_COMPRESS_GET_FORMAT:
            return CompressGetFormat(lParam1, lParam2);
        case ICM_COMPRESS_GET_SIZE:
            return CompressGetSize(lParam1);
        case ICM_COMPRESS_FRAMES_INFO:
            return FramesInfo(self, reinterpret_cast<const ICCOMPRESSFRAMES*>(lParam1));
        case ICM_COMPRESS_BEGIN:
            return CompressBegin(self, lParam1, lParam2);
        case ICM_COMPRESS:
            return Compress(self, reinterpret_cast<ICCOMPRESS*>(lParam1));
        case ICM_COMPRESS_END:
            self.begun = false;
            return ICERR_OK;
        default:
            if (PlatformDecompressor::Handles(message)) {
                return self.decompressor.Send(message, lParam1, lParam2);
            }
            return ICERR_UNSUPPORTED;
    }
}

}  // namespace

LRESULT CALLBACK Video1DriverProc(DWORD_PTR driverId, HDRVR driver, UINT message, LPARAM lParam1,
                                  LPARAM lParam2) {
    LRESULT result = 0;
    if (AnswerCommonDriverMessage(message, result)) return result;
    if (message == DRV_OPEN) return OpenDriverInstance<Video1Instance>(lParam2);
    if (message == DRV_CLOSE) {
        delete reinterpret_cast<Video1Instance*>(driverId);
        return DRV_OK;
    }
    if (message < ICM_USER) return DefDriverProc(driverId, driver, message, lParam1, lParam2);
    // The platform lists an installed compressor by asking for its description
    // without opening it, and a refusal ends the listing there.
    if (message == ICM_GETINFO) return GetInfo(reinterpret_cast<ICINFO*>(lParam1), lParam2);
    auto* self = reinterpret_cast<Video1Instance*>(driverId);
    return self ? InstanceMessage(*self, message, lParam1, lParam2) : ICERR_UNSUPPORTED;
}
