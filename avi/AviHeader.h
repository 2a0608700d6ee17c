// The header of an AVI 2.0 (OpenDML) file: RIFF 'AVI ' with the header
// list (main header, a stream list per stream with its header, format and
// super index, the extended header). The writer follows it with the 'movi'
// list and later patches the fields whose offsets are given here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct AviVideoStream {
    uint32_t handler = 0;         // the compressor's four-character code
    uint32_t rate = 10;           // frames per second; one frame per position
    uint32_t quality = 0;         // the compressor's quality, 0 to 10000
    std::vector<uint8_t> format;  // BITMAPINFOHEADER and colour table
};

struct AviAudioStream {
    std::vector<uint8_t> format;  // WAVEFORMATEX (PCM)
};

// Fields read back from the stored formats.
struct VideoSize {
    int32_t width, height;
};
VideoSize VideoSizeOf(const AviVideoStream& video);
uint16_t BlockAlignOf(const AviAudioStream& audio);
uint32_t SamplesPerSecOf(const AviAudioStream& audio);
uint32_t AvgBytesPerSecOf(const AviAudioStream& audio);

// Offsets, from the start of the file, of one stream's patched fields.
struct StreamHeaderFields {
    size_t length = 0;         // strh dwLength
    size_t suggestedSize = 0;  // strh dwSuggestedBufferSize
    size_t superIndex = 0;     // the 'indx' chunk
};

struct AviHeaderLayout {
    std::vector<uint8_t> bytes;  // from 'RIFF' to the end of the header list
    size_t riffSize = 0;
    size_t mainFlags = 0;  // avih dwFlags
    size_t mainTotalFrames = 0;
    size_t mainSuggestedSize = 0;
    size_t extendedTotalFrames = 0;  // dmlh dwTotalFrames
    StreamHeaderFields streams[2];
    int streamCount = 1;
};

// superIndexEntries: how many standard index chunks each stream may have.
AviHeaderLayout BuildAviHeader(const AviVideoStream& video, const AviAudioStream* audio,
                               uint32_t superIndexEntries);

constexpr uint32_t AvifHasIndex = 0x10;
constexpr uint32_t AvifIsInterleaved = 0x100;

constexpr size_t SuperIndexHeaderBytes = 32;  // 'indx', size, and 24 bytes of header
constexpr size_t SuperIndexEntryBytes = 16;
