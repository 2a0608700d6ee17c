// A recording's MP4 file, written as it records: the coded frames at their
// positions' times, and the PCM sound made AAC on the audio thread, into a
// fragmented MP4 that is safe on the disk twice a second.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

#include "avi/FilmWriter.h"
#include "encode/AacEncoder.h"
#include "encode/SoundConversion.h"
#include "mp4/Mp4FragmentWriter.h"

class Mp4FilmWriter : public FilmWriter {
public:
    // sound: the recording's PCM format, or none for a film without sound.
    Mp4FilmWriter(OutputFile& file, const Mp4VideoTrack& video, int playRate,
                  const std::optional<PcmLayout>& sound);

    // The sound's encoder, then the file's start.
    bool Open();
    bool WriteVideo(uint32_t position, const void* data, uint32_t size, bool keyFrame) override;
    bool WriteAudio(const void* data, uint32_t size) override;
    bool CommitIfDue() override { return m_writer.CommitIfDue(); }
    bool CommitNow() override { return m_writer.CommitNow(); }
    bool Close() override;

    uint32_t VideoPositions() const override { return m_positions.load(); }
    uint32_t FileErrorCode() const override { return m_writer.FileErrorCode(); }
    bool IndexFull() const override { return false; }

private:
    bool WriteAacFrames();
    static std::optional<Mp4AudioTrack> AudioTrackFor(const std::optional<PcmLayout>& sound);

    std::optional<PcmLayout> m_sound;
    std::optional<Mp4AudioTrack> m_audioTrack;
    Mp4FragmentWriter m_writer;
    std::optional<PcmResampler> m_resampler;
    AacEncoder m_aac;
    std::vector<int16_t> m_samples;
    std::vector<std::vector<uint8_t>> m_aacFrames;
    std::atomic<uint32_t> m_positions{0};
};
