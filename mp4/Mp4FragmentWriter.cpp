#include "mp4/Mp4FragmentWriter.h"

#include <algorithm>

#include "mp4/AacConfig.h"
#include "mp4/AvcUnits.h"
#include "mp4/Mp4Bytes.h"
#include "mp4/Mp4Movie.h"
#include "mp4/Mp4SampleEntries.h"

namespace {

constexpr int VideoTrack = 0, AudioTrack = 1;
// What one fragment may gather: its data offsets are 32-bit.
constexpr uint64_t MaxFragmentBytes = uint64_t(1) << 30;

}  // namespace

Mp4FragmentWriter::Mp4FragmentWriter(OutputFile& file, Mp4VideoTrack video,
                                     const Mp4AudioTrack* audio, uint32_t commitMs, Clock clock)
    : m_file(file),
      m_video(std::move(video)),
      m_hasAudio(audio != nullptr),
      m_audio(audio ? *audio : Mp4AudioTrack{}),
      m_commitMs(commitMs),
      m_clock(std::move(clock)) {
    m_tracks[VideoTrack].id = 1;
    m_tracks[VideoTrack].timescale = m_video.timescale;
    m_tracks[AudioTrack].id = 2;
    m_tracks[AudioTrack].timescale = m_audio.sampleRate;
}

bool Mp4FragmentWriter::Open() {
    std::lock_guard<std::mutex> guard(m_lock);
    m_avcEntry = VideoTrackEntry(m_video);
    if (m_avcEntry.empty() || (m_hasAudio && !AudioTrackFits(m_audio)))
        return Fail(Mp4WriteError::BadInput);
    Mp4Bytes start;
    start.Append(FragmentedFileTypeBox());
    m_moovAt = start.Size();
    const std::vector<uint8_t> moov = Moov();
    m_moovBytes = moov.size();
    start.Append(moov);
    if (!m_file.WriteAt(0, start.Data().data(), start.Size())) return Fail(Mp4WriteError::Header);
    m_end = start.Size();
    m_lastCommit = m_clock();
    m_open = true;
    return true;
}

bool Mp4FragmentWriter::WriteVideo(const void* data, size_t size, uint64_t time, bool keyFrame) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_open) return false;
    const auto* p = static_cast<const uint8_t*>(data);
    if (!IsLengthPrefixed(p, size) || size > UINT32_MAX) return Fail(Mp4WriteError::BadInput);
    if (m_held.held) {
        if (time <= m_held.time) return Fail(Mp4WriteError::BadInput);
        if (!ReleaseHeld(time)) return false;
    } else {
        m_tracks[VideoTrack].time = time;
    }
    m_held.bytes.assign(p, p + size);
    m_held.time = time;
    m_held.keyFrame = keyFrame;
    m_held.held = true;
    ++m_videoSamples;
    return true;
}

bool Mp4FragmentWriter::WriteAudio(const void* data, size_t size, uint32_t samples) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_open) return false;
    if (!m_hasAudio || size == 0 || size > UINT32_MAX || samples == 0)
        return Fail(Mp4WriteError::BadInput);
    return Gather(m_tracks[AudioTrack], static_cast<const uint8_t*>(data), size,
                  {uint32_t(size), samples, 0, true});
}

// The held video sample lasts until the time given.
bool Mp4FragmentWriter::ReleaseHeld(uint64_t until) {
    const uint64_t duration = until - m_held.time;
    if (duration > UINT32_MAX) return Fail(Mp4WriteError::BadInput);
    m_held.held = false;
    return Gather(m_tracks[VideoTrack], m_held.bytes.data(), m_held.bytes.size(),
                  {uint32_t(m_held.bytes.size()), uint32_t(duration), 0, m_held.keyFrame});
}

bool Mp4FragmentWriter::Gather(Track& track, const uint8_t* data, size_t size,
                               const Mp4Sample& sample) {
    if (m_gatheredBytes + size > MaxFragmentBytes) return Fail(Mp4WriteError::BadInput);
    if (track.samples.empty()) track.start = track.time;
    track.samples.push_back(sample);
    track.bytes.insert(track.bytes.end(), data, data + size);
    track.time += sample.duration;
    track.largest = std::max(track.largest, sample.size);
    track.totalBytes += size;
    m_gatheredBytes += size;
    return true;
}

bool Mp4FragmentWriter::CommitIfDue() {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (!m_open) return false;
        if (m_clock() - m_lastCommit < m_commitMs) return true;
    }
    return CommitNow();
}

// The pair goes to the file unread, then to the disk (outside the lock),
// and only then becomes media.
bool Mp4FragmentWriter::CommitNow() {
    std::lock_guard<std::mutex> commit(m_commitLock);
    uint64_t at = 0;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (!m_open) return false;
        m_lastCommit = m_clock();
        if (!WriteFragment(at)) return false;
        if (at == 0) return true;
    }
    const bool flushed = m_file.FlushToDisk();
    std::lock_guard<std::mutex> guard(m_lock);
    if (!flushed) return Fail(Mp4WriteError::Flush);
    // A pair on the disk becomes media even when the other thread failed meanwhile.
    const bool revealed = Reveal(at, BoxType("moof"));
    return revealed && m_open;
}

// Writes the gathered samples as an unread pair at the end of the file and
// tells where it starts; at stays 0 when nothing was gathered.
bool Mp4FragmentWriter::WriteFragment(uint64_t& at) {
    std::vector<Mp4TrackRun> runs;
    for (Track& t : m_tracks) {
        if (t.samples.empty()) continue;
        NoteAccessPoints(t, m_end, uint32_t(runs.size() + 1));
        runs.push_back({t.id, t.start, std::move(t.samples), t.id == m_tracks[VideoTrack].id});
        t.samples.clear();
    }
    if (runs.empty()) return true;
    const std::vector<uint8_t> head = FragmentHead(++m_sequence, runs);
    uint64_t offset = m_end;
    bool written = WriteUnread(offset, head);
    offset += head.size();
    for (Track& t : m_tracks) {
        written = written && m_file.WriteAt(offset, t.bytes.data(), t.bytes.size());
        offset += t.bytes.size();
        t.bytes.clear();
    }
    if (!written) return Fail(Mp4WriteError::Media);
    at = m_end;
    m_end = offset;
    m_gatheredBytes = 0;
    return true;
}

// Key frames of the video; the first sample of each fragment of sound.
void Mp4FragmentWriter::NoteAccessPoints(Track& track, uint64_t moofAt, uint32_t traf) {
    const bool video = track.id == m_tracks[VideoTrack].id;
    uint64_t time = track.start;
    for (size_t i = 0; i < track.samples.size(); ++i) {
        if (video ? track.samples[i].keyFrame : i == 0)
            track.points.push_back({time, moofAt, traf, uint32_t(i + 1)});
        time += track.samples[i].duration;
    }
}

// A box written as 'free', its own type revealed later.
bool Mp4FragmentWriter::WriteUnread(uint64_t at, std::vector<uint8_t> box) {
    const uint8_t free[4] = {'f', 'r', 'e', 'e'};
    std::copy(free, free + 4, box.begin() + 4);
    return m_file.WriteAt(at, box.data(), box.size());
}

bool Mp4FragmentWriter::Reveal(uint64_t at, uint32_t type) {
    Mp4Bytes b;
    b.U32(type);
    return m_file.WriteAt(at + 4, b.Data().data(), b.Size()) || Fail(Mp4WriteError::Media);
}

// The last pair and the index go to the disk before they become readable;
// then 'moov' takes the final durations.
bool Mp4FragmentWriter::Close(uint64_t videoEndTime) {
    std::lock_guard<std::mutex> commit(m_commitLock);
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_open) return false;
    if (m_held.held && !ReleaseHeld(std::max(videoEndTime, m_held.time + 1))) return false;
    uint64_t pairAt = 0;
    if (!WriteFragment(pairAt)) return false;
    m_open = false;
    std::vector<Mp4TrackAccess> access{{m_tracks[VideoTrack].id, m_tracks[VideoTrack].points}};
    if (m_hasAudio) access.push_back({m_tracks[AudioTrack].id, m_tracks[AudioTrack].points});
    const std::vector<uint8_t> mfra = RandomAccessBox(access);
    if (!WriteUnread(m_end, mfra)) return Fail(Mp4WriteError::Index);
    if (!m_file.FlushToDisk()) return Fail(Mp4WriteError::Flush);
    if ((pairAt && !Reveal(pairAt, BoxType("moof"))) || !Reveal(m_end, BoxType("mfra")))
        return false;
    const std::vector<uint8_t> moov = Moov();
    if (moov.size() != m_moovBytes || !m_file.WriteAt(m_moovAt, moov.data(), moov.size()))
        return Fail(Mp4WriteError::Index);
    return m_file.FlushToDisk() || Fail(Mp4WriteError::Flush);
}

// With the durations and sound figures known so far: none at Open.
std::vector<uint8_t> Mp4FragmentWriter::Moov() const {
    const Track& v = m_tracks[VideoTrack];
    std::vector<Mp4TrackInfo> infos;
    infos.push_back(
        {v.id, true, v.timescale, m_video.width, m_video.height, m_avcEntry, nullptr, v.time});
    if (!m_hasAudio) return FragmentedMovieBox(infos);
    const Track& a = m_tracks[AudioTrack];
    AacStreamFigures figures;
    figures.esId = uint16_t(a.id);
    figures.bufferBytes = a.largest;
    figures.maxBitrate = m_audio.maxBitrate;
    figures.averageBitrate = m_audio.averageBitrate
                                 ? m_audio.averageBitrate
                                 : uint32_t(a.time ? a.totalBytes * 8 * a.timescale / a.time : 0);
    infos.push_back({a.id, false, a.timescale, 0, 0,
                     AacSampleEntry(m_audio.sampleRate, m_audio.channels,
                                    AacDescriptors(m_audio.audioSpecificConfig, figures)),
                     nullptr, a.time, m_audio.primingSamples});
    return FragmentedMovieBox(infos);
}

Mp4WriteError Mp4FragmentWriter::Error() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_error;
}

uint32_t Mp4FragmentWriter::FileErrorCode() const { return m_file.ErrorCode(); }

uint64_t Mp4FragmentWriter::VideoSamples() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_videoSamples;
}

bool Mp4FragmentWriter::Fail(Mp4WriteError error) {
    if (m_error == Mp4WriteError::None) m_error = error;
    m_open = false;
    return false;
}
