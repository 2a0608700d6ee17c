// Writes a recording as a fragmented MP4 file (H.264 video, AAC-LC sound)
// that stays playable at every instant. Open writes 'ftyp' and a 'moov'
// with empty sample tables; the samples gathered since the last commit go
// to the file at least every commitMs as one 'moof' and its 'mdat'. The
// pair is written as a 'free' box and an 'mdat', and only after a flush to
// the disk does the 'free' become 'moof': a pair torn by a crash is never
// read as media. Close writes the last pair, the random-access index
// 'mfra', and the final durations into 'moov' (rewritten in place).
//
// After a failure the writer takes nothing more, and the file holds every
// pair committed before it. The video and the sound thread both call it;
// a lock of its own serialises them, and the disk flush of a commit runs
// outside it so that the other thread goes on gathering meanwhile.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "avi/AviWriter.h"
#include "avi/OutputFile.h"
#include "mp4/Mp4Fragment.h"
#include "mp4/Mp4Tracks.h"

class Mp4FragmentWriter {
public:
    using Clock = std::function<uint64_t()>;  // milliseconds

    // audio: null for a recording without sound.
    Mp4FragmentWriter(OutputFile& file, Mp4VideoTrack video, const Mp4AudioTrack* audio,
                      uint32_t commitMs = 500, Clock clock = AviWriter::SteadyClockMs);
    Mp4FragmentWriter(const Mp4FragmentWriter&) = delete;
    Mp4FragmentWriter& operator=(const Mp4FragmentWriter&) = delete;

    bool Open();
    // One access unit, length-prefixed (4-byte), decoded at time (video
    // timescale), later than the last one's: a sample lasts until the next.
    bool WriteVideo(const void* data, size_t size, uint64_t time, bool keyFrame);
    // One raw AAC frame (no ADTS header), 1024 samples unless told otherwise.
    bool WriteAudio(const void* data, size_t size, uint32_t samples = 1024);
    // Writes what was gathered as one fragment when commitMs have passed
    // since the last one, or now (before the recording rests in a pause).
    bool CommitIfDue();
    bool CommitNow();
    // The last video sample ends at videoEndTime (at least one unit later).
    bool Close(uint64_t videoEndTime);

    Mp4WriteError Error() const;
    uint32_t FileErrorCode() const;
    uint64_t VideoSamples() const;  // taken so far

private:
    struct Track {
        uint32_t id = 0, timescale = 0;
        std::vector<Mp4Sample> samples;  // gathered since the last fragment
        std::vector<uint8_t> bytes;
        uint64_t start = 0, time = 0;  // decoding times: of the first gathered, of the next
        std::vector<Mp4AccessPoint> points;
        uint32_t largest = 0;
        uint64_t totalBytes = 0;
    };
    struct HeldVideo {  // the last sample, until the next one's time gives its duration
        bool held = false;
        std::vector<uint8_t> bytes;
        uint64_t time = 0;
        bool keyFrame = false;
    };

    bool Gather(Track& track, const uint8_t* data, size_t size, const Mp4Sample& sample);
    bool ReleaseHeld(uint64_t until);
    bool WriteFragment(uint64_t& at);
    void NoteAccessPoints(Track& track, uint64_t moofAt, uint32_t traf);
    bool WriteUnread(uint64_t at, std::vector<uint8_t> box);
    bool Reveal(uint64_t at, uint32_t type);
    std::vector<uint8_t> Moov() const;
    bool Fail(Mp4WriteError error);

    mutable std::mutex m_lock;
    std::mutex m_commitLock;  // one commit or Close at a time, taken before m_lock
    OutputFile& m_file;
    Mp4VideoTrack m_video;
    bool m_hasAudio;
    Mp4AudioTrack m_audio;
    uint32_t m_commitMs;
    Clock m_clock;
    std::vector<uint8_t> m_avcEntry;
    Track m_tracks[2];
    HeldVideo m_held;
    uint64_t m_gatheredBytes = 0;
    uint64_t m_videoSamples = 0;
    uint64_t m_moovAt = 0, m_moovBytes = 0;
    uint64_t m_end = 0;  // where the next fragment goes
    uint32_t m_sequence = 0;
    uint64_t m_lastCommit = 0;
    bool m_open = false;
    Mp4WriteError m_error = Mp4WriteError::None;
};
