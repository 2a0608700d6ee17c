// Reads the bits of an H.264 NAL unit's payload: fixed-width fields and
// Exp-Golomb codes, with the emulation-prevention bytes taken out first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class AvcBits {
public:
    // The unit without its one-byte header.
    AvcBits(const uint8_t* unit, size_t size) {
        int zeros = 0;
        for (size_t i = 1; i < size; ++i) {
            if (zeros >= 2 && unit[i] == 3) {
                zeros = 0;
                continue;
            }
            zeros = unit[i] == 0 ? zeros + 1 : 0;
            m_bytes.push_back(unit[i]);
        }
    }

    // False once a read went past the end; the values read then are zero.
    bool Ok() const { return m_ok; }

    uint32_t Bits(int n) {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i) v = v << 1 | Bit();
        return v;
    }
    uint32_t Ue() {
        int zeros = 0;
        while (m_ok && Bit() == 0 && zeros < 32) ++zeros;
        if (zeros >= 32) m_ok = false;
        return m_ok ? (uint32_t(1) << zeros) - 1 + Bits(zeros) : 0;
    }
    int32_t Se() {
        const uint32_t k = Ue();
        return k & 1 ? int32_t((k + 1) / 2) : -int32_t(k / 2);
    }

private:
    uint32_t Bit() {
        if (m_pos >= m_bytes.size() * 8) {
            m_ok = false;
            return 0;
        }
        const uint32_t bit = m_bytes[m_pos / 8] >> (7 - m_pos % 8) & 1;
        ++m_pos;
        return bit;
    }

    std::vector<uint8_t> m_bytes;
    size_t m_pos = 0;
    bool m_ok = true;
};
