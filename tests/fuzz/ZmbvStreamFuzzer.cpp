// libFuzzer target: whole ZMBV streams through the decoder and the output
// conversions, as a player on the user's machine would feed it from a
// hostile file. The input gives the picture size, then frames, each with a
// length of two bytes. A frame whose length has its top bit set gets a
// valid key-frame header made from its first bytes, so that the fuzzer
// reaches the frames' data of every format and block size quickly.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "codecs/ZmbvDecoder.h"
#include "codecs/ZmbvOutput.h"

namespace {

struct Reader {
    const uint8_t* data;
    size_t size;

    unsigned Take16() {
        if (size < 2) return size = 0, 0;
        const unsigned v = data[0] | data[1] << 8;
        data += 2, size -= 2;
        return v;
    }
};

std::vector<uint8_t> NextFrame(Reader& in) {
    const unsigned word = in.Take16();
    const size_t length = std::min<size_t>(word & 0x7FFF, in.size);
    std::vector<uint8_t> frame(in.data, in.data + length);
    in.data += length, in.size -= length;
    if ((word & 0x8000) && frame.size() >= 3) {
        const uint8_t header[] = {1, 0, 1, static_cast<uint8_t>(frame[0] & 1),
                                  static_cast<uint8_t>(1 + frame[0] % 8), frame[1], frame[2]};
        frame.erase(frame.begin(), frame.begin() + 3);
        frame.insert(frame.begin(), header, header + sizeof header);
    }
    return frame;
}

// Every conversion the decoded picture allows, into one row.
void Show(const ZmbvDecoder& decoder, int width, int height, std::vector<uint8_t>& row) {
    const int pixel = decoder.PixelBytes();
    row.resize(static_cast<size_t>(width) * 4);
    for (int bits : {8, 16, 24, 32}) {
        if (!ZmbvFormatShows(decoder.Format(), bits)) continue;
        for (int y = 0; y < height; y += 1 + height / 4) {
            ZmbvConvertRow(decoder.Picture().data() + static_cast<size_t>(y) * width * pixel,
                           decoder.Format(), decoder.Palette(), width, bits, row.data());
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Reader in{data, size};
    const int width = 1 + static_cast<int>(in.Take16() % ZmbvMaxSide);
    const int height = 1 + static_cast<int>(in.Take16() % ZmbvMaxSide);
    ZmbvDecoder decoder;
    if (!decoder.Begin(width, height)) return 0;
    std::vector<uint8_t> row;
    while (in.size > 0) {
        const std::vector<uint8_t> frame = NextFrame(in);
        if (frame.empty() || !decoder.Decode(frame.data(), frame.size())) continue;
        Show(decoder, width, height, row);
    }
    return 0;
}
