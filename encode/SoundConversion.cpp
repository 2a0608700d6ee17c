#include "encode/SoundConversion.h"

#include <algorithm>

bool ConvertiblePcm(const PcmLayout& f) {
    return f.rate >= 1000 && f.rate <= 192000 && (f.channels == 1 || f.channels == 2) &&
           (f.bits == 8 || f.bits == 16);
}

uint32_t AacRateFor(uint32_t pcmRate) { return pcmRate % 11025 == 0 ? 44100 : 48000; }

std::vector<uint8_t> AacLcConfig(uint32_t rate, uint16_t channels) {
    static const uint32_t rates[] = {96000, 88200, 64000, 48000, 44100, 32000, 24000,
                                     22050, 16000, 12000, 11025, 8000,  7350};
    const uint32_t index =
        static_cast<uint32_t>(std::find(std::begin(rates), std::end(rates), rate) - rates);
    constexpr uint32_t AacLowComplexity = 2;
    const uint32_t bits = AacLowComplexity << 11 | index << 7 | uint32_t(channels) << 3;
    return {static_cast<uint8_t>(bits >> 8), static_cast<uint8_t>(bits)};
}

PcmResampler::PcmResampler(const PcmLayout& in, uint32_t outRate)
    : m_in(in),
      m_outRate(outRate),
      m_frameBytes(size_t(in.channels) * in.bits / 8),
      m_previous(in.channels, 0),
      m_current(in.channels, 0) {}

int16_t PcmResampler::Sample(const uint8_t* frame, int channel) const {
    if (m_in.bits == 8) return static_cast<int16_t>((frame[channel] - 128) * 256);
    const uint8_t* p = frame + 2 * channel;
    return static_cast<int16_t>(p[0] | p[1] << 8);
}

// Output frames that fall at or before the newest input frame, each between
// it and the one before.
void PcmResampler::Emit(std::vector<int16_t>& out) {
    for (;;) {
        // Where the next output frame lies, in input frames (times the output rate).
        const uint64_t at = m_outFrames * m_in.rate;
        const uint64_t newest = (m_inFrames - 1) * m_outRate;
        if (at > newest) return;
        const uint64_t previous = m_inFrames >= 2 ? (m_inFrames - 2) * m_outRate : 0;
        const double t =
            m_inFrames >= 2 && at > previous ? double(at - previous) / m_outRate : 1.0;
        for (int c = 0; c < m_in.channels; ++c)
            out.push_back(static_cast<int16_t>(m_previous[c] + (m_current[c] - m_previous[c]) * t));
        ++m_outFrames;
    }
}

void PcmResampler::Feed(const uint8_t* bytes, size_t size, std::vector<int16_t>& out) {
    size_t used = 0;
    while (used < size) {
        const size_t take = std::min(m_frameBytes - m_partial.size(), size - used);
        m_partial.insert(m_partial.end(), bytes + used, bytes + used + take);
        used += take;
        if (m_partial.size() < m_frameBytes) return;
        m_previous.swap(m_current);
        for (int c = 0; c < m_in.channels; ++c) m_current[c] = Sample(m_partial.data(), c);
        m_partial.clear();
        ++m_inFrames;
        Emit(out);
    }
}
