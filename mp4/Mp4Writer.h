// Writes a film as an MP4 file (H.264 video, AAC-LC sound) that plays while
// it downloads: 'ftyp', then 'moov', then 'mdat'. The media data goes to the
// file as it comes, in chunks of about half a second of each track, in the
// order of their times, after a room reserved for the index; only the
// sample tables stay in memory. Close writes 'moov' into that room, or
// first moves the media data when the room does not suit.
//
// Until Close succeeds the file holds no 'moov': a film cut short by a
// failure is never mistaken for a whole one. After a failure the writer
// takes nothing more and tells the step that failed and the system's code.
// One thread calls it.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "avi/OutputFile.h"
#include "mp4/Mp4Movie.h"
#include "mp4/Mp4SampleTable.h"
#include "mp4/Mp4Tracks.h"

struct Mp4WriterLimits {
    // Bytes kept ahead of the media data for the index (Mp4IndexRoomFor
    // tells how much a film of a known length needs).
    uint64_t indexRoom = 64 * 1024;
    uint32_t chunkMs = 500;                     // of each track's time per chunk
    uint32_t moveBlockBytes = 8 * 1024 * 1024;  // of a move of the media data
};

class Mp4Writer {
public:
    // audio: null for a film without sound.
    Mp4Writer(OutputFile& file, Mp4VideoTrack video, const Mp4AudioTrack* audio,
              Mp4WriterLimits limits = {});
    Mp4Writer(const Mp4Writer&) = delete;
    Mp4Writer& operator=(const Mp4Writer&) = delete;

    bool Open();
    // One access unit in length-prefixed (4-byte) form, or Annex B (start
    // codes) which the writer converts; duration in the video timescale;
    // compositionOffset for B-frames (pts - dts, in the timescale).
    bool WriteVideo(const void* data, size_t size, uint32_t duration, bool keyFrame,
                    int32_t compositionOffset = 0);
    // One raw AAC frame (no ADTS header), 1024 samples unless told otherwise.
    bool WriteAudio(const void* data, size_t size, uint32_t samples = 1024);
    // Finishes the file with 'moov' ahead of 'mdat'; progress(done, total)
    // counts the media bytes moved (once total, total when none move) and
    // may be null.
    bool Close(const std::function<void(uint64_t, uint64_t)>& progress = {});

    Mp4WriteError Error() const { return m_error; }
    uint32_t FileErrorCode() const { return m_file.ErrorCode(); }
    uint64_t MediaBytes() const { return m_mediaBytes; }
    // Where the media data starts: after Close, in the finished file.
    uint64_t DataStart() const { return m_dataStart; }

private:
    struct Track {
        uint32_t timescale = 0;
        Mp4SampleTable table;
        uint64_t time = 0;  // decoding time of the next sample
        // The chunk being gathered: its samples, their bytes, its slot of
        // chunkMs and when it starts.
        std::vector<Mp4Sample> samples;
        std::vector<uint8_t> bytes;
        uint64_t slot = 0, start = 0;
    };

    bool AddSample(Track& track, const uint8_t* data, size_t size, const Mp4Sample& sample);
    bool WriteChunk(Track& track);
    bool WriteLastChunks();
    std::vector<Mp4TrackInfo> TrackInfos() const;
    bool Fail(Mp4WriteError error);

    OutputFile& m_file;
    Mp4VideoTrack m_video;
    bool m_hasAudio;
    Mp4AudioTrack m_audio;
    Mp4WriterLimits m_limits;
    std::vector<uint8_t> m_avcEntry;
    Track m_tracks[2];
    std::vector<uint8_t> m_converted;  // an Annex B unit in length-prefixed form
    uint64_t m_indexStart = 0;         // after 'ftyp'
    uint64_t m_dataStart = 0;
    uint64_t m_mediaBytes = 0;
    bool m_open = false;
    Mp4WriteError m_error = Mp4WriteError::None;
};
