#include "convert/Conversion.h"

#include <windows.h>

#include <map>
#include <memory>

#include "avi/AviFileReader.h"
#include "avi/WindowsInputFile.h"
#include "avi/WindowsOutputFile.h"
#include "encode/AacEncoder.h"
#include "convert/FrameDecoder.h"
#include "encode/H264Encoder.h"
#include "encode/SoundConversion.h"
#include "framework/SystemErrorText.h"
#include "mp4/Mp4Layout.h"
#include "mp4/Mp4Writer.h"

namespace {

// The writer's share of the progress: moving the film behind its index.
constexpr double FinishShare = 0.05;

std::string ReadErrorText(AviReadError error, const std::string& path) {
    switch (error) {
        case AviReadError::NotAvi:
            return path + "\nis not an AVI file.";
        case AviReadError::CutHeader:
            return path + "\nends inside its header: it holds no film.";
        case AviReadError::NoVideo:
            return path + "\nhas no video stream.";
        case AviReadError::Unreadable:
        case AviReadError::None:
            break;
    }
    return path + "\ncould not be read.";
}

const AviStreamInfo* FirstStream(const AviFileContents& avi, bool video) {
    for (const AviStreamInfo& s : avi.streams)
        if (s.video == video) return &s;
    return nullptr;
}

// The sound's PCM format, or none when the recording has no sound we take.
PcmLayout PcmOf(const AviStreamInfo* sound) {
    if (!sound || sound->format.size() < sizeof(PCMWAVEFORMAT)) return {};
    const auto* wave = reinterpret_cast<const PCMWAVEFORMAT*>(sound->format.data());
    if (wave->wf.wFormatTag != WAVE_FORMAT_PCM) return {};
    const PcmLayout pcm{wave->wf.nSamplesPerSec, wave->wf.nChannels, wave->wBitsPerSample};
    return ConvertiblePcm(pcm) ? pcm : PcmLayout{};
}

// Feeds the recording's sound, chunk by chunk, through the resampler and the
// AAC encoder into the film, up to a time.
class SoundFeed {
public:
    SoundFeed(InputFile& in, const AviStreamInfo& stream, const PcmLayout& pcm, Mp4Writer& film)
        : m_in(in), m_stream(stream), m_pcm(pcm), m_resampler(pcm, AacRateFor(pcm.rate)), m_film(film) {}

    bool Open() { return m_aac.Open(AacRateFor(m_pcm.rate), m_pcm.channels, 64000u * m_pcm.channels); }

    // Everything up to `seconds` into the recording (all of it with a huge value).
    bool FeedUntil(double seconds) {
        const uint64_t bytesPerSecond = uint64_t(m_pcm.rate) * m_pcm.channels * m_pcm.bits / 8;
        while (m_next < m_stream.chunks.size() && m_fed < seconds * bytesPerSecond) {
            const AviChunkRef& chunk = m_stream.chunks[m_next++];
            std::vector<uint8_t> bytes(chunk.size);
            if (!m_in.ReadAt(chunk.offset, bytes.data(), bytes.size())) return false;
            m_fed += chunk.size;
            std::vector<int16_t> samples;
            m_resampler.Feed(bytes.data(), bytes.size(), samples);
            if (!m_aac.Encode(samples.data(), samples.size(), m_frames) || !Write()) return false;
        }
        return true;
    }
    bool Finish() { return FeedUntil(1e18) && m_aac.Flush(m_frames) && Write(); }

private:
    bool Write() {
        for (const auto& frame : m_frames)
            if (!m_film.WriteAudio(frame.data(), frame.size())) return false;
        m_frames.clear();
        return true;
    }

    InputFile& m_in;
    const AviStreamInfo& m_stream;
    PcmLayout m_pcm;
    PcmResampler m_resampler;
    AacEncoder m_aac;
    Mp4Writer& m_film;
    size_t m_next = 0;
    uint64_t m_fed = 0;
    std::vector<std::vector<uint8_t>> m_frames;
};

class Converter {
public:
    Converter(const ConversionRequest& request, const std::function<void(double)>& progress,
              const std::atomic<bool>& cancel)
        : m_request(request), m_progress(progress), m_cancel(cancel) {}

    ConversionResult Run();

private:
    bool Fail(const std::string& message) {
        m_result.message = message;
        return false;
    }
    bool OpenInput();
    bool OpenOutput();
    bool WriteFilm();
    bool WriteFrames(const std::vector<EncodedFrame>& frames);
    bool FilmFailed();

    const ConversionRequest& m_request;
    const std::function<void(double)>& m_progress;
    const std::atomic<bool>& m_cancel;
    ConversionResult m_result;
    std::string m_unfinished;
    std::unique_ptr<WindowsInputFile> m_in;
    AviFileContents m_avi;
    const AviStreamInfo* m_video = nullptr;
    PcmLayout m_pcm;
    FrameDecoder m_decoder;
    H264Encoder m_encoder;
    std::unique_ptr<WindowsOutputFile> m_out;
    std::unique_ptr<Mp4Writer> m_film;
    std::unique_ptr<SoundFeed> m_sound;
    std::map<int64_t, uint32_t> m_positions;  // of each frame handed to the encoder, by pts
};

bool Converter::OpenInput() {
    m_in = std::make_unique<WindowsInputFile>(m_request.input);
    if (!m_in->Opened())
        return Fail(m_request.input + "\ncould not be opened.\n" + SystemErrorText(m_in->ErrorCode()));
    m_avi = ReadAviFile(*m_in);
    if (m_avi.error != AviReadError::None) return Fail(ReadErrorText(m_avi.error, m_request.input));
    m_video = FirstStream(m_avi, true);
    if (!m_video) return Fail(ReadErrorText(AviReadError::NoVideo, m_request.input));
    if (m_video->rate == 0 || m_video->scale == 0)
        return Fail(m_request.input + "\nhas no frame rate.");
    if (!m_decoder.Open(m_video->format)) return Fail(m_request.input + "\n" + m_decoder.Error());
    m_pcm = PcmOf(FirstStream(m_avi, false));
    return true;
}

bool Converter::OpenOutput() {
    m_unfinished = UnfinishedPathFor(m_request.output);
    m_out = std::make_unique<WindowsOutputFile>(m_unfinished);
    if (!m_out->Opened())
        return Fail(m_request.output + "\ncould not be created.\n" + SystemErrorText(m_out->ErrorCode()));
    const double fps = double(m_video->rate) / m_video->scale;
    if (!m_encoder.Open(m_decoder.Width(), m_decoder.Height(), m_video->rate, m_video->scale,
                        H264SettingsFor(m_request.quality, fps)))
        return Fail("The H.264 encoder could not be started for a picture of " +
                    std::to_string(m_decoder.Width()) + " x " + std::to_string(m_decoder.Height()) + ".");
    Mp4VideoTrack video;
    video.width = static_cast<uint32_t>(m_decoder.Width());
    video.height = static_cast<uint32_t>(m_decoder.Height());
    video.timescale = m_video->rate;
    video.sps = m_encoder.Sps();
    video.pps = m_encoder.Pps();
    Mp4AudioTrack audio;
    if (m_pcm.rate) {
        audio.sampleRate = AacRateFor(m_pcm.rate);
        audio.channels = m_pcm.channels;
        audio.audioSpecificConfig = AacLcConfig(audio.sampleRate, audio.channels);
        audio.primingSamples = AacEncoder::DelaySamples;
        audio.averageBitrate = audio.maxBitrate = 64000u * m_pcm.channels;
    }
    // The whole index fits ahead of the media data: nothing moves at the end.
    Mp4WriterLimits limits;
    const double seconds = double(m_video->chunks.size()) * m_video->scale / m_video->rate;
    limits.indexRoom = Mp4IndexRoomFor(seconds, fps, m_pcm.rate ? audio.sampleRate : 0);
    m_film = std::make_unique<Mp4Writer>(*m_out, video, m_pcm.rate ? &audio : nullptr, limits);
    if (!m_film->Open()) return FilmFailed();
    if (m_pcm.rate) {
        m_sound = std::make_unique<SoundFeed>(*m_in, *FirstStream(m_avi, false), m_pcm, *m_film);
        if (!m_sound->Open()) return Fail("The AAC encoder could not be started.");
    }
    return true;
}

bool Converter::FilmFailed() {
    return Fail("Error writing\n" + m_request.output + "\n" + SystemErrorText(m_film->FileErrorCode()));
}

bool Converter::WriteFrames(const std::vector<EncodedFrame>& frames) {
    for (const EncodedFrame& frame : frames) {
        const uint32_t duration = m_positions[frame.pts] * m_video->scale;
        m_positions.erase(frame.pts);
        if (!m_film->WriteVideo(frame.data.data(), frame.data.size(), duration, frame.keyFrame))
            return FilmFailed();
    }
    return true;
}

bool Converter::WriteFilm() {
    std::vector<uint32_t> sizes;
    for (const AviChunkRef& chunk : m_video->chunks) sizes.push_back(chunk.size);
    const std::vector<TimedFrame> frames = FramesOf(sizes);
    if (frames.empty()) return Fail(m_request.input + "\nholds no frame.");
    YuvPicture picture;
    std::vector<uint8_t> data;
    for (size_t i = 0; i < frames.size(); ++i) {
        if (m_cancel) return false;
        const TimedFrame& timed = frames[i];
        const AviChunkRef& chunk = m_video->chunks[timed.chunk];
        data.resize(chunk.size);
        if (!m_in->ReadAt(chunk.offset, data.data(), data.size()))
            return Fail(m_request.input + "\ncould not be read.\n" + SystemErrorText(m_in->ErrorCode()));
        if (!m_decoder.Decode(data, chunk.keyFrame || i == 0))
            return Fail(m_request.input + "\n" + m_decoder.Error());
        BgraToYuv420(m_decoder.TopRow(), m_decoder.Stride(), m_decoder.Width(), m_decoder.Height(),
                     picture);
        m_positions[timed.position] = timed.positions;
        std::vector<EncodedFrame> encoded;
        if (!m_encoder.Encode(picture, timed.position, encoded)) return Fail("The H.264 encoder failed.");
        if (!WriteFrames(encoded)) return false;
        const double end = double(timed.position + timed.positions) * m_video->scale / m_video->rate;
        if (m_sound && !m_sound->FeedUntil(end)) return FilmFailed();
        if (m_progress) m_progress((1 - FinishShare) * double(i + 1) / frames.size());
    }
    std::vector<EncodedFrame> rest;
    if (!m_encoder.Flush(rest)) return Fail("The H.264 encoder failed.");
    return WriteFrames(rest) && (!m_sound || m_sound->Finish() || FilmFailed());
}

ConversionResult Converter::Run() {
    const bool written = OpenInput() && OpenOutput() && WriteFilm() &&
                         (m_film->Close([this](uint64_t done, uint64_t total) {
                              if (m_progress && total)
                                  m_progress(1 - FinishShare + FinishShare * double(done) / total);
                          }) || FilmFailed());
    m_film.reset();
    m_out.reset();
    if (written && MoveFileExA(m_unfinished.c_str(), m_request.output.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        m_result.done = true;
        return m_result;
    }
    if (written)
        m_result.message = m_request.output + "\ncould not be written.\n" + SystemErrorText(GetLastError());
    if (!m_unfinished.empty()) DeleteFileA(m_unfinished.c_str());
    m_result.cancelled = m_cancel;
    return m_result;
}

}  // namespace

ConversionResult Convert(const ConversionRequest& request, const std::function<void(double)>& progress,
                         const std::atomic<bool>& cancel) {
    return Converter(request, progress, cancel).Run();
}
