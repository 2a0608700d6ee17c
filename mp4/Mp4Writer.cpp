#include "mp4/Mp4Writer.h"

#include <algorithm>

#include "mp4/AacConfig.h"
#include "mp4/AvcUnits.h"
#include "mp4/FileMove.h"
#include "mp4/Mp4Bytes.h"
#include "mp4/Mp4Layout.h"
#include "mp4/Mp4SampleEntries.h"

namespace {

constexpr int VideoTrack = 0, AudioTrack = 1;

}  // namespace

Mp4Writer::Mp4Writer(OutputFile& file, Mp4VideoTrack video, const Mp4AudioTrack* audio,
                     Mp4WriterLimits limits)
    : m_file(file),
      m_video(std::move(video)),
      m_hasAudio(audio != nullptr),
      m_audio(audio ? *audio : Mp4AudioTrack{}),
      m_limits(limits) {
    m_tracks[VideoTrack].timescale = m_video.timescale;
    m_tracks[AudioTrack].timescale = m_audio.sampleRate;
}

// 'ftyp', the room for the index as a 'free' box, and an 'mdat' header
// whose size (zero) says it runs to the end of the file.
bool Mp4Writer::Open() {
    m_avcEntry = VideoTrackEntry(m_video);
    if (m_avcEntry.empty() || (m_hasAudio && !AudioTrackFits(m_audio)) ||
        m_limits.indexRoom > UINT32_MAX)
        return Fail(Mp4WriteError::BadInput);
    Mp4Bytes start;
    start.Append(FileTypeBox());
    m_indexStart = start.Size();
    start.U32(uint32_t(m_limits.indexRoom + 8));
    start.U32(BoxType("free"));
    start.Zeros(size_t(m_limits.indexRoom));
    // Eight more bytes of room: the 'mdat' header may need sixteen.
    start.U32(8);
    start.U32(BoxType("free"));
    start.U32(0);
    start.U32(BoxType("mdat"));
    m_dataStart = start.Size();
    if (!m_file.WriteAt(0, start.Data().data(), start.Size())) return Fail(Mp4WriteError::Header);
    m_open = true;
    return true;
}

bool Mp4Writer::WriteVideo(const void* data, size_t size, uint32_t duration, bool keyFrame,
                           int32_t compositionOffset) {
    if (!m_open) return false;
    const auto* p = static_cast<const uint8_t*>(data);
    if (!IsLengthPrefixed(p, size)) {
        if (!AnnexBToLengthPrefixed(p, size, m_converted)) return Fail(Mp4WriteError::BadInput);
        p = m_converted.data();
        size = m_converted.size();
    }
    return AddSample(m_tracks[VideoTrack], p, size,
                     {uint32_t(size), duration, compositionOffset, keyFrame});
}

bool Mp4Writer::WriteAudio(const void* data, size_t size, uint32_t samples) {
    if (!m_open) return false;
    if (!m_hasAudio || size == 0) return Fail(Mp4WriteError::BadInput);
    return AddSample(m_tracks[AudioTrack], static_cast<const uint8_t*>(data), size,
                     {uint32_t(size), samples, 0, true});
}

// Gathers the sample into its track's chunk; a sample that starts in a
// later slot of chunkMs writes the chunk first.
bool Mp4Writer::AddSample(Track& track, const uint8_t* data, size_t size, const Mp4Sample& sample) {
    if (size > UINT32_MAX || sample.duration == 0) return Fail(Mp4WriteError::BadInput);
    const uint64_t slot = track.time * 1000 / (uint64_t(track.timescale) * m_limits.chunkMs);
    if (!track.samples.empty() && slot != track.slot && !WriteChunk(track)) return false;
    if (track.samples.empty()) {
        track.slot = slot;
        track.start = track.time;
    }
    track.samples.push_back(sample);
    track.bytes.insert(track.bytes.end(), data, data + size);
    track.time += sample.duration;
    return true;
}

bool Mp4Writer::WriteChunk(Track& track) {
    if (track.samples.empty()) return true;
    if (!m_file.WriteAt(m_dataStart + m_mediaBytes, track.bytes.data(), track.bytes.size()))
        return Fail(Mp4WriteError::Media);
    track.table.AddChunk(m_mediaBytes, track.samples);
    m_mediaBytes += track.bytes.size();
    track.samples.clear();
    track.bytes.clear();
    return true;
}

// The chunks still gathered, the earlier first.
bool Mp4Writer::WriteLastChunks() {
    Track& v = m_tracks[VideoTrack];
    Track& a = m_tracks[AudioTrack];
    const bool audioFirst =
        !a.samples.empty() && a.start * v.timescale < v.start * uint64_t(a.timescale);
    Track& first = audioFirst ? a : v;
    Track& second = audioFirst ? v : a;
    return WriteChunk(first) && WriteChunk(second);
}

std::vector<Mp4TrackInfo> Mp4Writer::TrackInfos() const {
    const Track& v = m_tracks[VideoTrack];
    std::vector<Mp4TrackInfo> infos;
    infos.push_back({1, true, v.timescale, m_video.width, m_video.height, m_avcEntry, &v.table});
    if (!m_hasAudio) return infos;
    const Track& a = m_tracks[AudioTrack];
    AacStreamFigures figures;
    figures.esId = 2;
    figures.bufferBytes = a.table.LargestSample();
    const uint64_t seconds1000 = a.table.Duration() * 1000 / a.timescale;
    figures.averageBitrate = m_audio.averageBitrate
                                 ? m_audio.averageBitrate
                                 : uint32_t(seconds1000 ? a.table.Bytes() * 8000 / seconds1000 : 0);
    figures.maxBitrate =
        m_audio.maxBitrate
            ? m_audio.maxBitrate
            : uint32_t(std::min<uint64_t>(a.table.PeakBytesPerSecond(a.timescale) * 8, UINT32_MAX));
    infos.push_back({2, false, a.timescale, 0, 0,
                     AacSampleEntry(m_audio.sampleRate, m_audio.channels,
                                    AacDescriptors(m_audio.audioSpecificConfig, figures)),
                     &a.table, 0, m_audio.primingSamples});
    return infos;
}

bool Mp4Writer::Close(const std::function<void(uint64_t, uint64_t)>& progress) {
    if (!m_open) return false;
    m_open = false;
    if (!WriteLastChunks()) return false;
    const std::vector<Mp4TrackInfo> tracks = TrackInfos();
    uint64_t lastChunk = 0;
    for (const Mp4TrackInfo& t : tracks)
        lastChunk = std::max(lastChunk, t.samples->LastChunkOffset());
    const Mp4Placement place = PlaceMp4Index(
        m_indexStart, m_dataStart, m_mediaBytes, lastChunk,
        [&](bool co64) { return uint64_t(MovieBox(tracks, m_dataStart, co64).size()); });
    if (place.dataStart != m_dataStart) {
        if (!MoveFileRange(m_file, m_dataStart, place.dataStart, m_mediaBytes,
                           m_limits.moveBlockBytes, progress))
            return Fail(Mp4WriteError::Move);
        if (place.dataStart < m_dataStart && !m_file.Truncate(place.dataStart + m_mediaBytes))
            return Fail(Mp4WriteError::Move);
        m_dataStart = place.dataStart;
    } else if (progress) {
        progress(m_mediaBytes, m_mediaBytes);
    }
    const std::vector<uint8_t> region = Mp4IndexRegion(MovieBox(tracks, m_dataStart, place.co64),
                                                       m_indexStart, place, m_mediaBytes);
    if (!m_file.WriteAt(m_indexStart, region.data(), region.size()))
        return Fail(Mp4WriteError::Index);
    if (!m_file.FlushToDisk()) {
        // What reached the disk is unknown: the index then claims nothing.
        const uint8_t free[4] = {'f', 'r', 'e', 'e'};
        m_file.WriteAt(m_indexStart + 4, free, sizeof free);
        return Fail(Mp4WriteError::Flush);
    }
    return true;
}

bool Mp4Writer::Fail(Mp4WriteError error) {
    if (m_error == Mp4WriteError::None) m_error = error;
    m_open = false;
    return false;
}
