#include "mp4/AvcUnits.h"

namespace {

// The position of the next 00 00 01 at or after from; size if none.
size_t NextStartCode(const uint8_t* p, size_t from, size_t size) {
    for (size_t i = from; i + 3 <= size; ++i)
        if (p[i] == 0 && p[i + 1] == 0 && p[i + 2] == 1) return i;
    return size;
}

void PutLength(std::vector<uint8_t>& out, size_t length) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(length >> shift));
}

}  // namespace

bool IsLengthPrefixed(const uint8_t* data, size_t size) {
    size_t pos = 0;
    while (pos + 4 < size) {
        const uint32_t length = uint32_t(data[pos]) << 24 | uint32_t(data[pos + 1]) << 16 |
                                uint32_t(data[pos + 2]) << 8 | data[pos + 3];
        if (length == 0 || length > size - pos - 4 || data[pos + 4] & 0x80) return false;
        pos += 4 + length;
    }
    return size > 0 && pos == size;
}

bool AnnexBToLengthPrefixed(const uint8_t* data, size_t size, std::vector<uint8_t>& out) {
    out.clear();
    size_t code = NextStartCode(data, 0, size);
    // Only zeros may come before the first start code.
    for (size_t i = 0; i < code; ++i)
        if (data[i] != 0) return false;
    while (code < size) {
        const size_t begin = code + 3;
        const size_t next = NextStartCode(data, begin, size);
        size_t end = next;
        while (end > begin && data[end - 1] == 0) --end;  // the next code's leading zero
        if (end > begin) {
            PutLength(out, end - begin);
            out.insert(out.end(), data + begin, data + end);
        }
        code = next;
    }
    return !out.empty();
}
