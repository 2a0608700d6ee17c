#include "encode/AacEncoder.h"

#include <algorithm>

extern "C" {
#include <vo-aacenc/cmnMemory.h>
#include <vo-aacenc/voAAC.h>
}

struct AacEncoder::Library {
    VO_AUDIO_CODECAPI api{};
    VO_MEM_OPERATOR memory{};
    VO_CODEC_INIT_USERDATA user{};
    VO_HANDLE handle = nullptr;
};

AacEncoder::AacEncoder() : m_library(std::make_unique<Library>()) {}

AacEncoder::~AacEncoder() {
    if (m_library->handle) m_library->api.Uninit(m_library->handle);
}

bool AacEncoder::Open(uint32_t rate, uint16_t channels, uint32_t bitRate) {
    Library& l = *m_library;
    if (voGetAACEncAPI(&l.api) != VO_ERR_NONE) return false;
    l.memory.Alloc = cmnMemAlloc;
    l.memory.Copy = cmnMemCopy;
    l.memory.Free = cmnMemFree;
    l.memory.Set = cmnMemSet;
    l.memory.Check = cmnMemCheck;
    l.user.memflag = VO_IMF_USERMEMOPERATOR;
    l.user.memData = &l.memory;
    if (l.api.Init(&l.handle, VO_AUDIO_CodingAAC, &l.user) != VO_ERR_NONE) {
        l.handle = nullptr;
        return false;
    }
    AACENC_PARAM params{};
    params.sampleRate = static_cast<int>(rate);
    params.bitRate = static_cast<int>(bitRate);
    params.nChannels = static_cast<short>(channels);
    params.adtsUsed = 0;
    m_channels = channels;
    return l.api.SetParam(l.handle, VO_PID_AAC_ENCPARAM, &params) == VO_ERR_NONE;
}

bool AacEncoder::EncodeFrame(std::vector<std::vector<uint8_t>>& frames) {
    Library& l = *m_library;
    VO_CODECBUFFER input{};
    input.Buffer = reinterpret_cast<VO_PBYTE>(m_pending.data());
    input.Length = static_cast<VO_U32>(FrameSamples * m_channels * sizeof(int16_t));
    if (l.api.SetInputData(l.handle, &input) != VO_ERR_NONE) return false;
    // An AAC frame is at most 768 bytes a channel.
    std::vector<uint8_t> data(768 * m_channels + 64);
    VO_CODECBUFFER output{};
    output.Buffer = data.data();
    output.Length = static_cast<VO_U32>(data.size());
    VO_AUDIO_OUTPUTINFO info{};
    if (l.api.GetOutputData(l.handle, &output, &info) != VO_ERR_NONE) return false;
    data.resize(output.Length);
    frames.push_back(std::move(data));
    m_pending.erase(m_pending.begin(), m_pending.begin() + FrameSamples * m_channels);
    return true;
}

bool AacEncoder::Encode(const int16_t* samples, size_t count,
                        std::vector<std::vector<uint8_t>>& frames) {
    m_pending.insert(m_pending.end(), samples, samples + count);
    m_given = m_given || count > 0;
    while (m_pending.size() >= FrameSamples * m_channels)
        if (!EncodeFrame(frames)) return false;
    return true;
}

// The encoder gives a frame's sound DelaySamples later than it took it:
// that much silence more brings out the last of it.
bool AacEncoder::Flush(std::vector<std::vector<uint8_t>>& frames) {
    if (!m_given) return true;
    m_given = false;
    m_pending.resize(m_pending.size() + DelaySamples * m_channels, 0);
    const size_t frameValues = FrameSamples * m_channels;
    m_pending.resize((m_pending.size() + frameValues - 1) / frameValues * frameValues, 0);
    while (!m_pending.empty())
        if (!EncodeFrame(frames)) return false;
    return true;
}
