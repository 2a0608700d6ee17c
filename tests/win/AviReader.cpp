#include "tests/win/AviReader.h"

namespace {

AviSample ReadSample(PAVISTREAM stream, LONG position) {
    AviSample sample;
    sample.keyFrame = AVIStreamIsKeyFrame(stream, position) != FALSE;
    LONG bytes = 0;
    sample.read = AVIStreamRead(stream, position, 1, nullptr, 0, &bytes, nullptr) == AVIERR_OK;
    if (!sample.read || bytes <= 0) return sample;
    sample.data.resize(static_cast<size_t>(bytes));
    sample.read = AVIStreamRead(stream, position, 1, sample.data.data(), bytes, nullptr, nullptr) ==
                  AVIERR_OK;
    return sample;
}

void ReadVideo(PAVISTREAM stream, AviContents& avi) {
    avi.hasVideo = AVIStreamInfoA(stream, &avi.video, sizeof avi.video) == AVIERR_OK;
    LONG size = sizeof avi.videoFormat;
    avi.videoFormatRead = AVIStreamReadFormat(stream, 0, &avi.videoFormat, &size) == AVIERR_OK;
    avi.length = AVIStreamLength(stream);
    for (LONG i = AVIStreamStart(stream); i < AVIStreamEnd(stream); ++i)
        avi.samples.push_back(ReadSample(stream, i));
}

void ReadStreams(PAVIFILE file, AviContents& avi) {
    PAVISTREAM stream = nullptr;
    if (AVIFileGetStream(file, &stream, streamtypeVIDEO, 0) == AVIERR_OK) {
        ReadVideo(stream, avi);
        AVIStreamRelease(stream);
    }
    if (AVIFileGetStream(file, &stream, streamtypeAUDIO, 0) == AVIERR_OK) {
        LONG size = sizeof avi.audioFormat;
        avi.hasAudio = AVIStreamReadFormat(stream, 0, &avi.audioFormat, &size) == AVIERR_OK;
        AVIStreamRelease(stream);
    }
}

}  // namespace

AviContents ReadAvi(const std::string& path) {
    AviContents avi;
    AVIFileInit();
    PAVIFILE file = nullptr;
    if (AVIFileOpenA(&file, path.c_str(), OF_READ, nullptr) == AVIERR_OK) {
        avi.opened = true;
        ReadStreams(file, avi);
        AVIFileRelease(file);
    }
    AVIFileExit();
    return avi;
}
