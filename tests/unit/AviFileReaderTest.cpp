#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "avi/AviFileReader.h"
#include "avi/AviWriter.h"
#include "avi/RiffBytes.h"
#include "tests/support/AviLayoutReader.h"
#include "tests/support/BytesInput.h"
#include "tests/support/MemoryFile.h"

namespace {

constexpr uint32_t Rate = 15;

AviVideoStream Video() {
    RiffBytes b;  // BITMAPINFOHEADER, 8-bit, odd size, with a colour table of 4
    b.U32(40);
    b.U32(33);
    b.U32(17);
    b.U16(1);
    b.U16(8);
    b.U32(Fourcc("ZMBV"));
    b.Zeros(12);
    b.U32(4);
    b.U32(0);
    for (uint32_t colour : {0x000000u, 0xFF0000u, 0x00FF00u, 0x0000FFu}) b.U32(colour);
    return {Fourcc("zmbv"), Rate, 0, b.Data()};
}

AviAudioStream Sound() {
    RiffBytes b;  // WAVEFORMATEX, PCM 16-bit mono
    b.U16(1);
    b.U16(1);
    b.U32(22050);
    b.U32(44100);
    b.U16(2);
    b.U16(16);
    b.U16(0);
    return {b.Data()};
}

// What a recording offered the writer: frames by position (empty where one
// was skipped) and the sound as one run of bytes.
struct Offered {
    std::vector<std::vector<uint8_t>> frames;
    std::vector<bool> keys;
    std::vector<uint8_t> sound;
};

// A recording of `positions` with sound, every seventh position skipped,
// committed as the recording thread does; closed or left as a kill leaves it.
Offered Record(MemoryFile& file, const AviWriterLimits& limits, uint32_t positions, bool close) {
    const AviAudioStream sound = Sound();
    uint64_t now = 0;
    AviWriter writer(file, Video(), &sound, limits, [&] { return now; });
    EXPECT_TRUE(writer.Open());
    Offered o;
    for (uint32_t p = 0; p < positions; ++p) {
        now += 1000 / Rate;
        o.frames.emplace_back();
        o.keys.push_back(p % 10 == 0);
        if (p % 7 == 6) continue;
        std::vector<uint8_t>& frame = o.frames.back();
        for (size_t i = 0; i < 101 + p * 53 % 400; ++i) frame.push_back(uint8_t(p * 7 + i));
        EXPECT_TRUE(writer.WriteVideo(p, frame.data(), uint32_t(frame.size()), o.keys[p]));
        std::vector<uint8_t> block(2 * (300 + p % 5 * 10));
        for (size_t i = 0; i < block.size(); ++i) block[i] = uint8_t(p * 13 + i * 5);
        EXPECT_TRUE(writer.WriteAudio(block.data(), uint32_t(block.size())));
        o.sound.insert(o.sound.end(), block.begin(), block.end());
        EXPECT_TRUE(writer.CommitIfDue());
    }
    if (close) {
        EXPECT_TRUE(writer.Close());
    }
    return o;
}

AviWriterLimits SmallRiffs() {
    AviWriterLimits limits;
    limits.partBytes = 48 * 1024;
    limits.indexEntries = 16;
    limits.superIndexEntries = 64;
    return limits;
}

// Every chunk of a finished file, by stream, as the strict layout reader
// finds them through its indexes.
std::vector<std::vector<AviChunkRef>> ChunksOf(const std::vector<uint8_t>& file) {
    const AviLayout layout = ReadAviLayout(file);
    EXPECT_TRUE(layout.problems.empty());
    std::vector<std::vector<AviChunkRef>> streams;
    for (const AviStreamLayout& s : layout.streams) {
        streams.emplace_back();
        for (const AviIndexedChunk& e : s.Indexed())
            streams.back().push_back({e.position + 8, e.size, e.keyFrame});
    }
    return streams;
}

// Those whose data lies whole in the first `size` bytes.
std::vector<std::vector<AviChunkRef>> WholeIn(std::vector<std::vector<AviChunkRef>> streams,
                                              uint64_t size) {
    for (std::vector<AviChunkRef>& chunks : streams)
        chunks.erase(std::remove_if(chunks.begin(), chunks.end(),
                                    [&](const AviChunkRef& c) { return c.offset + c.size > size; }),
                     chunks.end());
    return streams;
}

// The places and sizes match; key frames too where `keyFramesFrom` says so
// (a walked video chunk is not known to be one).
void ExpectChunks(const AviFileContents& c, const std::vector<std::vector<AviChunkRef>>& expected,
                  size_t keyFramesFrom = SIZE_MAX) {
    ASSERT_EQ(c.streams.size(), expected.size());
    for (size_t s = 0; s < expected.size(); ++s) {
        const std::vector<AviChunkRef>& got = c.streams[s].chunks;
        ASSERT_EQ(got.size(), expected[s].size()) << "stream " << s;
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].offset, expected[s][i].offset) << "stream " << s << " chunk " << i;
            EXPECT_EQ(got[i].size, expected[s][i].size) << "stream " << s << " chunk " << i;
            const bool known = s > 0 || i < keyFramesFrom;
            EXPECT_EQ(got[i].keyFrame, known && expected[s][i].keyFrame)
                << "stream " << s << " chunk " << i;
        }
    }
}

AviFileContents Read(const std::vector<uint8_t>& bytes) {
    BytesInput input(bytes);
    AviFileContents c = ReadAviFile(input);
    EXPECT_EQ(input.readsPastEnd, 0);
    return c;
}

void Put32(std::vector<uint8_t>& bytes, uint64_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = uint8_t(value >> (8 * i));
}

// How many of the first video chunks a cut at `size` leaves with their
// index entries and their data whole.
size_t IndexedWithin(const AviLayout& layout, uint64_t size) {
    size_t n = 0;
    for (const AviStandardIndex& index : layout.streams.at(0).indexes)
        for (size_t j = 0; j < index.entries.size(); ++j, ++n) {
            const AviIndexedChunk& e = index.entries[j];
            if (index.position + StandardIndexHeaderBytes + 8 * (j + 1) > size ||
                e.position + 8 + e.size > size)
                return n;
        }
    return n;
}

}  // namespace

TEST(AviFileReader, ReadsEveryChunkOfEveryRiffPartAsOffered) {
    MemoryFile file;
    const Offered o = Record(file, SmallRiffs(), 300, true);
    const std::vector<uint8_t>& bytes = file.Bytes();
    ASSERT_GE(ReadAviLayout(bytes).parts.size(), 4u);

    const AviFileContents c = Read(bytes);
    ASSERT_EQ(c.error, AviReadError::None);
    EXPECT_TRUE(c.indexed);
    EXPECT_FALSE(c.cutShort);
    EXPECT_EQ(c.microSecPerFrame, 1000000 / Rate);
    EXPECT_EQ(c.totalFrames, 300u);
    ASSERT_EQ(c.streams.size(), 2u);
    const AviStreamInfo& v = c.streams[0];
    const AviStreamInfo& a = c.streams[1];
    EXPECT_TRUE(v.video);
    EXPECT_EQ(v.handler, Fourcc("zmbv"));
    EXPECT_EQ(v.rate, Rate);
    EXPECT_EQ(v.scale, 1u);
    EXPECT_EQ(v.length, 300u);
    EXPECT_EQ(v.format, Video().format);
    EXPECT_FALSE(a.video);
    EXPECT_EQ(a.scale, 2u);
    EXPECT_EQ(a.rate, 44100u);
    EXPECT_EQ(a.length, o.sound.size() / 2);
    EXPECT_EQ(a.format, Sound().format);

    ASSERT_EQ(v.chunks.size(), o.frames.size());
    for (size_t p = 0; p < v.chunks.size(); ++p) {
        const AviChunkRef& ref = v.chunks[p];
        ASSERT_LE(ref.offset + ref.size, bytes.size());
        EXPECT_TRUE(std::equal(bytes.begin() + long(ref.offset),
                               bytes.begin() + long(ref.offset + ref.size), o.frames[p].begin(),
                               o.frames[p].end()))
            << "position " << p;
        EXPECT_EQ(ref.keyFrame, o.keys[p] && !o.frames[p].empty()) << "position " << p;
    }
    std::vector<uint8_t> sound;
    for (const AviChunkRef& ref : a.chunks)
        sound.insert(sound.end(), bytes.begin() + long(ref.offset),
                     bytes.begin() + long(ref.offset + ref.size));
    EXPECT_EQ(sound, o.sound);
}

TEST(AviFileReader, WithoutStandardIndexesTakesIdx1EitherWayThenWalksTheOtherParts) {
    MemoryFile file;
    const AviWriterLimits limits = SmallRiffs();
    Record(file, limits, 200, true);
    std::vector<uint8_t> bytes = file.Bytes();
    const std::vector<std::vector<AviChunkRef>> all = ChunksOf(bytes);
    const AviLayout layout = ReadAviLayout(bytes);
    ASSERT_GE(layout.parts.size(), 3u);
    const AviAudioStream sound = Sound();
    const AviHeaderLayout header = BuildAviHeader(Video(), &sound, limits.superIndexEntries);
    for (const StreamHeaderFields& s : header.streams) Put32(bytes, s.superIndex + 12, 0);
    const uint64_t moviType = layout.parts[0].movi + 8;
    const uint64_t idx1 = moviType + layout.parts[0].moviSize;
    ASSERT_EQ(Read32(&bytes[idx1]), Fourcc("idx1"));

    size_t firstPart = 0;  // video chunks idx1 lists
    while (firstPart < all[0].size() && all[0][firstPart].offset < layout.parts[1].riff)
        ++firstPart;
    for (bool absolute : {false, true}) {
        SCOPED_TRACE(absolute ? "absolute offsets" : "offsets from 'movi'");
        if (absolute)
            for (uint64_t e = idx1 + 8; e < idx1 + 8 + Read32(&bytes[idx1 + 4]); e += 16)
                Put32(bytes, e + 8, uint32_t(Read32(&bytes[e + 8]) + moviType));
        const AviFileContents c = Read(bytes);
        ASSERT_EQ(c.error, AviReadError::None);
        EXPECT_FALSE(c.indexed);
        EXPECT_FALSE(c.cutShort);
        ExpectChunks(c, all, firstPart);
    }
}

TEST(AviFileReader, KilledRecordingReadsUpToItsLastWholeChunk) {
    MemoryFile killed, finished;
    Record(killed, SmallRiffs(), 200, false);
    Record(finished, SmallRiffs(), 200, true);  // the same chunks, all indexed
    const std::vector<std::vector<AviChunkRef>> all = ChunksOf(finished.Bytes());
    // After any write, some cut short: the index lags the chunks by up to a
    // commit; the walk finds the rest.
    for (size_t writes = 20; writes <= killed.Log().size(); writes += 23) {
        const std::vector<uint8_t> bytes = killed.After(writes, writes % 3 ? 0 : 5);
        SCOPED_TRACE("after " + std::to_string(writes) + " writes, " +
                     std::to_string(bytes.size()) + " bytes");
        const AviLayout layout = ReadAviLayout(bytes);
        const size_t indexed = layout.streams.at(0).Indexed().size();
        const AviFileContents c = Read(bytes);
        ASSERT_EQ(c.error, AviReadError::None);
        const std::vector<std::vector<AviChunkRef>> whole = WholeIn(all, bytes.size());
        ExpectChunks(c, whole, indexed);
        EXPECT_EQ(c.indexed, whole[0].size() == indexed &&
                                 whole[1].size() == layout.streams.at(1).Indexed().size());
    }

    // Every index gone (standard index chunks emptied, idx1 turned to JUNK): all by walking.
    std::vector<uint8_t> bytes = finished.Bytes();
    const AviLayout layout = ReadAviLayout(bytes);
    for (const AviStreamLayout& s : layout.streams)
        for (const AviStandardIndex& index : s.indexes) Put32(bytes, index.position + 12, 0);
    const uint64_t idx1 = layout.parts[0].movi + 8 + layout.parts[0].moviSize;
    ASSERT_EQ(Read32(&bytes[idx1]), Fourcc("idx1"));
    Put32(bytes, idx1, Fourcc("JUNK"));
    const AviFileContents c = Read(bytes);
    EXPECT_FALSE(c.indexed);
    ExpectChunks(c, all, 0);
}

TEST(AviFileReader, FileCutAtEvery97thByteListsOnlyItsWholeChunks) {
    MemoryFile file;
    const AviWriterLimits limits = SmallRiffs();
    Record(file, limits, 90, true);
    const std::vector<uint8_t>& whole = file.Bytes();
    const AviLayout layout = ReadAviLayout(whole);
    const std::vector<std::vector<AviChunkRef>> all = ChunksOf(whole);
    ASSERT_GE(layout.parts.size(), 2u);
    const AviAudioStream sound = Sound();
    const size_t header = BuildAviHeader(Video(), &sound, limits.superIndexEntries).bytes.size();
    for (size_t cut = 0; cut < whole.size(); cut += 97) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        const AviFileContents c = Read({whole.begin(), whole.begin() + long(cut)});
        if (cut < header) {
            EXPECT_EQ(c.error, cut < 4 ? AviReadError::NotAvi : AviReadError::CutHeader);
            continue;
        }
        ASSERT_EQ(c.error, AviReadError::None);
        EXPECT_TRUE(c.cutShort);
        ExpectChunks(c, WholeIn(all, cut), IndexedWithin(layout, cut));
        if (HasFailure()) return;
    }
}

TEST(AviFileReader, PlainAviWithRecListsReadsByItsIdx1OrByWalking) {
    RiffBytes b;
    const size_t riff = b.OpenList(Fourcc("RIFF"), Fourcc("AVI "));
    const size_t hdrl = b.OpenList(Fourcc("LIST"), Fourcc("hdrl"));
    size_t chunk = b.Open(Fourcc("avih"));
    b.U32(40000);
    b.Zeros(52);
    b.Close(chunk);
    const size_t strl = b.OpenList(Fourcc("LIST"), Fourcc("strl"));
    chunk = b.Open(Fourcc("strh"));
    b.U32(Fourcc("vids"));
    b.U32(Fourcc("cvid"));
    b.Zeros(12);
    b.U32(1);
    b.U32(25);
    b.U32(0);
    b.U32(3);
    b.Zeros(20);
    b.Close(chunk);
    chunk = b.Open(Fourcc("strf"));
    b.Append(Video().format);
    b.Close(chunk);
    b.Close(strl);
    b.Close(hdrl);
    const size_t movi = b.OpenList(Fourcc("LIST"), Fourcc("movi"));
    // Frames of 3, 5 and 0 bytes; a palette change between them is no frame.
    std::vector<AviChunkRef> frames;
    auto frame = [&](uint32_t id, uint32_t size) {
        const size_t at = b.Open(id);
        if (id == Fourcc("00dc")) frames.push_back({uint64_t(at + 4), size, frames.empty()});
        b.Zeros(size);
        b.Close(at);
        if (size & 1) b.U8(0);
    };
    size_t rec = b.OpenList(Fourcc("LIST"), Fourcc("rec "));
    frame(Fourcc("00dc"), 3);
    b.Close(rec);
    rec = b.OpenList(Fourcc("LIST"), Fourcc("rec "));
    frame(Fourcc("00pc"), 4);
    frame(Fourcc("00dc"), 5);
    b.Close(rec);
    frame(Fourcc("00dc"), 0);
    b.Close(movi);
    const std::vector<uint8_t> walkOnly = [&] {
        RiffBytes copy = b;
        copy.Close(riff);
        return copy.Data();
    }();
    // An idx1 with absolute offsets, as some writers have it, and a 'rec ' entry.
    const size_t idx1 = b.Open(Fourcc("idx1"));
    b.U32(Fourcc("rec "));
    b.U32(1);
    b.U32(uint32_t(movi + 8));
    b.U32(4);
    for (const AviChunkRef& f : frames) {
        b.U32(Fourcc("00dc"));
        b.U32(f.keyFrame ? LegacyKeyFrameFlag : 0);
        b.U32(uint32_t(f.offset - 8));
        b.U32(f.size);
    }
    b.Close(idx1);
    b.Close(riff);

    AviFileContents c = Read(b.Data());
    ASSERT_EQ(c.error, AviReadError::None);
    EXPECT_TRUE(c.indexed);
    EXPECT_EQ(c.microSecPerFrame, 40000u);
    EXPECT_EQ(c.streams.at(0).length, 3u);
    ExpectChunks(c, {frames});
    c = Read(walkOnly);
    EXPECT_FALSE(c.indexed);
    EXPECT_FALSE(c.cutShort);
    ExpectChunks(c, {frames}, 0);
}

TEST(AviFileReader, TellsWhatIsWrongWithAFile) {
    MemoryFile file;
    Record(file, {}, 20, true);
    std::vector<uint8_t> bytes = file.Bytes();

    std::vector<uint8_t> wave = bytes;
    Put32(wave, 8, Fourcc("WAVE"));
    EXPECT_EQ(Read(wave).error, AviReadError::NotAvi);
    EXPECT_EQ(Read({'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!', '!'}).error,
              AviReadError::NotAvi);
    EXPECT_EQ(Read({}).error, AviReadError::NotAvi);

    std::vector<uint8_t> noVideo = bytes;
    const uint8_t vids[] = {'v', 'i', 'd', 's'};
    const auto strh = std::search(noVideo.begin(), noVideo.end(), vids, vids + 4);
    ASSERT_NE(strh, noVideo.end());
    Put32(noVideo, uint64_t(strh - noVideo.begin()), Fourcc("txts"));
    EXPECT_EQ(Read(noVideo).error, AviReadError::NoVideo);

    BytesInput failing(bytes);
    failing.refuseReads = true;
    EXPECT_EQ(ReadAviFile(failing).error, AviReadError::Unreadable);
}
