#include "engine/Mp4FilmWriter.h"

#include <algorithm>

#include "engine/Mp4Recording.h"

namespace {

uint32_t AacBitRate(uint16_t channels) { return 64000u * channels; }

Mp4VideoTrack WithTimescale(Mp4VideoTrack video, int playRate) {
    video.timescale = Mp4VideoTimescale(playRate);
    return video;
}

}  // namespace

std::optional<Mp4AudioTrack> Mp4FilmWriter::AudioTrackFor(const std::optional<PcmLayout>& sound) {
    if (!sound) return std::nullopt;
    Mp4AudioTrack audio;
    audio.sampleRate = AacRateFor(sound->rate);
    audio.channels = sound->channels;
    audio.audioSpecificConfig = AacLcConfig(audio.sampleRate, audio.channels);
    audio.primingSamples = AacEncoder::DelaySamples;
    return audio;
}

Mp4FilmWriter::Mp4FilmWriter(OutputFile& file, const Mp4VideoTrack& video, int playRate,
                             const std::optional<PcmLayout>& sound)
    : m_sound(sound),
      m_audioTrack(AudioTrackFor(sound)),
      m_writer(file, WithTimescale(video, playRate), m_audioTrack ? &*m_audioTrack : nullptr) {
    if (m_sound) m_resampler.emplace(*m_sound, m_audioTrack->sampleRate);
}

bool Mp4FilmWriter::Open() {
    if (m_sound &&
        !m_aac.Open(m_audioTrack->sampleRate, m_sound->channels, AacBitRate(m_sound->channels)))
        return false;
    return m_writer.Open();
}

// A position already taken moves the frame to the next free one, as in AVI.
bool Mp4FilmWriter::WriteVideo(uint32_t position, const void* data, uint32_t size, bool keyFrame) {
    const uint32_t at = std::max(position, m_positions.load());
    if (!m_writer.WriteVideo(data, size, uint64_t(at) * Mp4UnitsPerPosition, keyFrame))
        return false;
    m_positions = at + 1;
    return true;
}

bool Mp4FilmWriter::WriteAudio(const void* data, uint32_t size) {
    if (!m_resampler) return false;
    m_samples.clear();
    m_resampler->Feed(static_cast<const uint8_t*>(data), size, m_samples);
    return m_aac.Encode(m_samples.data(), m_samples.size(), m_aacFrames) && WriteAacFrames();
}

bool Mp4FilmWriter::WriteAacFrames() {
    bool ok = true;
    for (const auto& frame : m_aacFrames)
        ok = ok && m_writer.WriteAudio(frame.data(), frame.size());
    m_aacFrames.clear();
    return ok;
}

// The last frame lasts until the film's end: its position's interval.
bool Mp4FilmWriter::Close() {
    const bool sound = !m_sound || (m_aac.Flush(m_aacFrames) && WriteAacFrames());
    const bool closed = m_writer.Close(uint64_t(m_positions.load()) * Mp4UnitsPerPosition);
    return sound && closed;
}
