#include "tests/support/StreamTracks.h"

#include <fstream>
#include <iterator>

std::vector<uint8_t> LoadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Mp4VideoTrack VideoTrackOf(const AvcStream& stream, uint32_t width, uint32_t height,
                           uint32_t timescale) {
    Mp4VideoTrack track;
    track.width = width;
    track.height = height;
    track.timescale = timescale;
    track.sps = stream.sps;
    track.pps = stream.pps;
    return track;
}

Mp4AudioTrack AudioTrackOf(const AdtsStream& stream) {
    Mp4AudioTrack audio;
    audio.sampleRate = stream.sampleRate;
    audio.channels = stream.channels;
    audio.audioSpecificConfig = stream.audioSpecificConfig;
    return audio;
}
