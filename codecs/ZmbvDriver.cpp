#include "codecs/ZmbvDriver.h"

#include "codecs/DriverMessages.h"
#include "codecs/ZmbvCompressor.h"
#include "codecs/ZmbvDecompressor.h"
#include "codecs/ZmbvDibs.h"

namespace {

struct ZmbvInstance {
    ZmbvCompressor compressor;
    ZmbvDecompressor decompressor;
};

LRESULT GetInfo(ICINFO* info, LPARAM size) {
    if (!info || size < static_cast<LPARAM>(sizeof(ICINFO))) return 0;
    *info = ICINFO{};
    info->dwSize = sizeof(ICINFO);
    info->fccType = ICTYPE_VIDEO;
    info->fccHandler = ZmbvFourcc;
    // Both sides keep their own previous picture.
    info->dwFlags = VIDCF_QUALITY | VIDCF_TEMPORAL | VIDCF_FASTTEMPORALC | VIDCF_FASTTEMPORALD;
    info->dwVersion = 1;
    info->dwVersionICM = ICVERSION;
    lstrcpyW(info->szName, L"ZMBV");
    lstrcpyW(info->szDescription, L"ZMBV lossless screen codec");
    return sizeof(ICINFO);
}

auto* Out(LPARAM lParam) { return reinterpret_cast<BITMAPINFOHEADER*>(lParam); }

LRESULT CompressMessage(ZmbvCompressor& self, UINT message, LPARAM lParam1, LPARAM lParam2) {
    switch (message) {
        case ICM_GETDEFAULTQUALITY:
            return PutDword(lParam1, ZmbvCompressor::DefaultQuality);
        case ICM_GETQUALITY:
            return PutDword(lParam1, self.Quality());
        case ICM_SETQUALITY:
            self.SetQuality(static_cast<DWORD>(lParam1));
            return ICERR_OK;
        case ICM_COMPRESS_QUERY:
            return ZmbvCompressor::Query(DibHeader(lParam1), DibHeader(lParam2));
        case ICM_COMPRESS_GET_FORMAT:
            return ZmbvCompressor::GetFormat(DibHeader(lParam1), Out(lParam2));
        case ICM_COMPRESS_GET_SIZE:
            return ZmbvCompressor::GetSize(DibHeader(lParam1));
        case ICM_COMPRESS_FRAMES_INFO:
            return self.FramesInfo(reinterpret_cast<const ICCOMPRESSFRAMES*>(lParam1));
        case ICM_COMPRESS_BEGIN:
            return self.Begin(DibHeader(lParam1), DibHeader(lParam2));
        case ICM_COMPRESS:
            return self.Compress(reinterpret_cast<ICCOMPRESS*>(lParam1));
        case ICM_COMPRESS_END:
            self.End();
            return ICERR_OK;
        default:
            return ICERR_UNSUPPORTED;
    }
}

LRESULT DecompressMessage(ZmbvDecompressor& self, UINT message, LPARAM lParam1, LPARAM lParam2) {
    switch (message) {
        case ICM_DECOMPRESS_QUERY:
            return ZmbvDecompressor::Query(DibHeader(lParam1), DibHeader(lParam2));
        case ICM_DECOMPRESS_GET_FORMAT:
            return ZmbvDecompressor::GetFormat(DibHeader(lParam1), Out(lParam2));
        case ICM_DECOMPRESS_BEGIN:
            return self.Begin(DibHeader(lParam1), DibHeader(lParam2));
        case ICM_DECOMPRESS:
            return self.Decompress(reinterpret_cast<const ICDECOMPRESS*>(lParam1));
        case ICM_DECOMPRESS_GET_PALETTE:
            return self.GetPalette(DibHeader(lParam1), reinterpret_cast<BITMAPINFO*>(lParam2));
        case ICM_DECOMPRESS_END:
            self.End();
            return ICERR_OK;
        default:
            return ICERR_UNSUPPORTED;
    }
}

bool IsDecompressMessage(UINT message) {
    return message == ICM_DECOMPRESS_QUERY || message == ICM_DECOMPRESS_GET_FORMAT ||
           message == ICM_DECOMPRESS_BEGIN || message == ICM_DECOMPRESS ||
           message == ICM_DECOMPRESS_GET_PALETTE || message == ICM_DECOMPRESS_END;
}

LRESULT InstanceMessage(ZmbvInstance& self, UINT message, LPARAM lParam1, LPARAM lParam2) {
    if (message == ICM_GETSTATE || message == ICM_SETSTATE) return 0;  // no settings to keep
    if (IsDecompressMessage(message)) {
        return DecompressMessage(self.decompressor, message, lParam1, lParam2);
    }
    return CompressMessage(self.compressor, message, lParam1, lParam2);
}

}  // namespace

LRESULT CALLBACK ZmbvDriverProc(DWORD_PTR driverId, HDRVR driver, UINT message, LPARAM lParam1,
                                LPARAM lParam2) {
    LRESULT result = 0;
    if (AnswerCommonDriverMessage(message, result)) return result;
    if (message == DRV_OPEN) return OpenDriverInstance<ZmbvInstance>(lParam2);
    if (message == DRV_CLOSE) {
        delete reinterpret_cast<ZmbvInstance*>(driverId);
        return DRV_OK;
    }
    if (message < ICM_USER) return DefDriverProc(driverId, driver, message, lParam1, lParam2);
    // The platform may ask for the description without opening an instance.
    if (message == ICM_GETINFO) return GetInfo(reinterpret_cast<ICINFO*>(lParam1), lParam2);
    auto* self = reinterpret_cast<ZmbvInstance*>(driverId);
    return self ? InstanceMessage(*self, message, lParam1, lParam2) : ICERR_UNSUPPORTED;
}
