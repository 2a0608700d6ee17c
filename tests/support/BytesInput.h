// An InputFile over bytes in memory for the reader's tests: it counts the
// reads that reach past its end, which a careful reader never asks for,
// and can be told to refuse every read (a failing disk).
#pragma once

#include <cstring>
#include <vector>

#include "avi/InputFile.h"

class BytesInput : public InputFile {
public:
    explicit BytesInput(std::vector<uint8_t> bytes) : m_bytes(std::move(bytes)) {}

    uint64_t Size() const override { return m_bytes.size(); }
    bool ReadAt(uint64_t offset, void* data, size_t size) override {
        if (offset > m_bytes.size() || size > m_bytes.size() - offset) {
            ++readsPastEnd;
            return false;
        }
        if (refuseReads) return false;
        std::memcpy(data, m_bytes.data() + offset, size);
        return true;
    }

    int readsPastEnd = 0;
    bool refuseReads = false;

private:
    std::vector<uint8_t> m_bytes;
};
