#include "tests/win/PlatformFilm.h"

#include <vfw.h>

#include "tests/win/AviReader.h"
#include "tests/win/RgbHeader.h"

namespace {

bool DecodeSamples(HIC decoder, BITMAPINFOHEADER in, BITMAPINFOHEADER out, const AviContents& avi,
                   PlatformFilm& film) {
    if (ICDecompressBegin(decoder, &in, &out) != ICERR_OK) return false;
    std::vector<uint32_t> picture(static_cast<size_t>(film.width) * film.height);
    bool all = true;
    for (const AviSample& sample : avi.samples) {
        if (sample.data.empty()) continue;  // a skipped position
        in.biSizeImage = static_cast<DWORD>(sample.data.size());
        all = all && ICDecompress(decoder, 0, &in, const_cast<uint8_t*>(sample.data.data()), &out,
                                  picture.data()) == ICERR_OK;
        film.pictures.push_back(picture);
    }
    ICDecompressEnd(decoder);
    return all;
}

}  // namespace

COLORREF PlatformFilm::At(size_t picture, POINT p) const {
    const uint32_t pixel = pictures[picture][static_cast<size_t>(height - 1 - p.y) * width + p.x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

PlatformFilm DecodeWithPlatform(const std::string& path) {
    const AviContents avi = ReadAvi(path);
    PlatformFilm film;
    if (!avi.videoFormatRead) return film;
    film.compression = avi.videoFormat.biCompression;
    film.width = avi.videoFormat.biWidth;
    film.height = avi.videoFormat.biHeight;
    BITMAPINFOHEADER in = avi.videoFormat, out = RgbHeader(film.width, film.height, 32);
    HIC decoder = ICLocate(ICTYPE_VIDEO, 0, &in, &out, ICMODE_DECOMPRESS);
    if (!decoder) return film;
    film.decoded = DecodeSamples(decoder, in, out, avi, film);
    ICClose(decoder);
    return film;
}
