#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "mp4/Mp4Layout.h"
#include "mp4/Mp4Writer.h"
#include "tests/support/Mp4BoxReader.h"
#include "tests/support/SparseFile.h"

namespace {

constexpr uint32_t Fourcc(const char (&c)[5]) {
    return uint32_t(uint8_t(c[0])) << 24 | uint32_t(uint8_t(c[1])) << 16 |
           uint32_t(uint8_t(c[2])) << 8 | uint8_t(c[3]);
}

// A High profile SPS (4:2:0, 8 bits) and a PPS, as x264 writes them.
const std::vector<uint8_t> Sps = {0x67, 0x64, 0x00, 0x1F, 0xAC, 0xD9,
                                  0x40, 0x50, 0x05, 0xBB, 0x01, 0x10};
const std::vector<uint8_t> Pps = {0x68, 0xEB, 0xE3, 0xCB, 0x22, 0xC0};

Mp4VideoTrack Video() {
    Mp4VideoTrack v;
    v.width = 642;
    v.height = 363;
    v.timescale = 1000;
    v.sps = Sps;
    v.pps = Pps;
    return v;
}

Mp4AudioTrack Audio() {
    Mp4AudioTrack a;
    a.sampleRate = 48000;
    a.channels = 2;
    a.audioSpecificConfig = {0x11, 0x90};
    return a;
}

void PutLength(std::vector<uint8_t>& out, size_t n) {
    for (int s = 24; s >= 0; s -= 8) out.push_back(uint8_t(n >> s));
}

// What a test hands over and what the file must then store.
struct Unit {
    std::vector<uint8_t> given, stored;
    uint32_t duration = 0;
    int32_t offset = 0;
    bool key = false;
    bool video = true;
};

// Frame i: two NAL units with bytes that tell frames apart and, every
// third frame, zeros escaped as Annex B escapes them (00 00 03); every
// fourth frame comes in Annex B form, with 4- and 3-byte start codes.
Unit VideoUnit(uint32_t i) {
    Unit u;
    u.key = i % 12 == 0;
    u.duration = 20 + i * 7 % 45;                               // uneven
    u.offset = int32_t(i % 3 == 0 ? 80 : i % 3 == 1 ? 0 : 40);  // as with B-frames
    std::vector<std::vector<uint8_t>> nals(2);
    nals[0] = {uint8_t(u.key ? 0x65 : 0x41)};
    for (uint32_t k = 0; k < 200 + i * 53 % 900; ++k)
        nals[0].push_back(uint8_t(4 + (i * 31 + k) % 250));
    if (i % 3 == 0) nals[0].insert(nals[0].end(), {0, 0, 3, 1, 0, 0, 3, 0, 0x80});
    nals[1] = {0x06, uint8_t(i), 0x80};
    for (const auto& n : nals) {
        PutLength(u.stored, n.size());
        u.stored.insert(u.stored.end(), n.begin(), n.end());
    }
    if (i % 4 == 1) {
        u.given = {0, 0, 0, 1};
        u.given.insert(u.given.end(), nals[0].begin(), nals[0].end());
        u.given.insert(u.given.end(), {0, 0, 1});
        u.given.insert(u.given.end(), nals[1].begin(), nals[1].end());
    } else {
        u.given = u.stored;
    }
    return u;
}

Unit AudioUnit(uint32_t i) {
    Unit u;
    u.video = false;
    u.key = true;
    u.duration = 1024;
    u.given.resize(180 + i * 97 % 500);
    for (size_t k = 0; k < u.given.size(); ++k) u.given[k] = uint8_t(i * 7 + k * 13);
    u.stored = u.given;
    return u;
}

// A film as a converter hands it over: each video frame after the sound
// that starts before it.
std::vector<Unit> Film(uint32_t frames, bool sound) {
    std::vector<Unit> units;
    uint64_t videoMs = 0;
    uint32_t audioFrames = 0;
    for (uint32_t i = 0; i < frames; ++i) {
        while (sound && uint64_t(audioFrames) * 1024 * 1000 / 48000 <= videoMs)
            units.push_back(AudioUnit(audioFrames++));
        units.push_back(VideoUnit(i));
        videoMs += units.back().duration;
    }
    return units;
}

bool Write(Mp4Writer& w, const Unit& u) {
    return u.video ? w.WriteVideo(u.given.data(), u.given.size(), u.duration, u.key, u.offset)
                   : w.WriteAudio(u.given.data(), u.given.size(), u.duration);
}

std::vector<uint8_t> Read(SparseFile& f, uint64_t at, size_t n) {
    std::vector<uint8_t> bytes(n);
    if (!f.ReadAt(at, bytes.data(), n)) bytes.clear();
    return bytes;
}

// The track's samples are the units handed over, in order, byte for byte.
void ExpectSamples(SparseFile& file, const Mp4TrackLayout& track, const std::vector<Unit>& units,
                   bool video) {
    std::vector<const Unit*> mine;
    for (const Unit& u : units)
        if (u.video == video) mine.push_back(&u);
    ASSERT_EQ(track.samples.size(), mine.size());
    for (size_t i = 0; i < mine.size(); ++i) {
        const Mp4SampleAt& s = track.samples[i];
        EXPECT_EQ(s.duration, mine[i]->duration) << i;
        EXPECT_EQ(s.compositionOffset, mine[i]->offset) << i;
        EXPECT_EQ(s.keyFrame, mine[i]->key) << i;
        ASSERT_EQ(Read(file, s.offset, s.size), mine[i]->stored)
            << (video ? "video " : "audio ") << i;
    }
}

// Chunks in the file go by time: none starts more than a chunk's length
// before the one written ahead of it, and none spans much more than that.
void ExpectInterleaved(const Mp4FileLayout& layout) {
    struct Chunk {
        uint64_t offset;
        double start, end;
    };
    std::vector<Chunk> chunks;
    for (const Mp4TrackLayout& t : layout.tracks) {
        uint64_t time = 0;
        for (size_t i = 0; i < t.samples.size(); ++i) {
            const Mp4SampleAt& s = t.samples[i];
            const bool first = i == 0 || t.samples[i - 1].chunk != s.chunk;
            const double start = double(time) / t.timescale;
            time += s.duration;
            if (first) chunks.push_back({s.offset, start, start});
            chunks.back().end = double(time) / t.timescale;
        }
    }
    std::sort(chunks.begin(), chunks.end(), [](auto& a, auto& b) { return a.offset < b.offset; });
    for (size_t i = 0; i < chunks.size(); ++i) {
        EXPECT_LT(chunks[i].end - chunks[i].start, 0.6) << "chunk " << i;
        if (i > 0) {
            EXPECT_GT(chunks[i].start, chunks[i - 1].start - 0.5) << "chunk " << i;
        }
    }
}

struct RoomCase {
    const char* name;
    uint64_t room;  // 0: Mp4IndexRoomFor the film
    bool sound;
};

class Mp4RoundTrip : public ::testing::TestWithParam<RoomCase> {};

TEST_P(Mp4RoundTrip, TheFileHoldsEverySampleWhereItsTablesSay) {
    const RoomCase c = GetParam();
    const std::vector<Unit> units = Film(300, c.sound);
    Mp4WriterLimits limits;
    limits.indexRoom = c.room ? c.room : Mp4IndexRoomFor(300 * 0.045, 1000 / 20.0, 48000);
    limits.moveBlockBytes = 64 * 1024;  // many blocks
    SparseFile file;
    const Mp4AudioTrack audio = Audio();
    Mp4Writer writer(file, Video(), c.sound ? &audio : nullptr, limits);
    ASSERT_TRUE(writer.Open());
    const uint64_t reservedStart = writer.DataStart();
    for (const Unit& u : units) ASSERT_TRUE(Write(writer, u));
    std::vector<std::pair<uint64_t, uint64_t>> progress;
    ASSERT_TRUE(writer.Close([&](uint64_t done, uint64_t total) {
        progress.push_back({done, total});
    }));
    EXPECT_EQ(writer.Error(), Mp4WriteError::None);

    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back().first, progress.back().second);
    EXPECT_EQ(progress.back().second, writer.MediaBytes());
    for (size_t i = 1; i < progress.size(); ++i)
        EXPECT_GT(progress[i].first, progress[i - 1].first);
    if (c.room == 0) {
        EXPECT_EQ(writer.DataStart(), reservedStart) << "the estimated room did not suit";
    } else {
        EXPECT_NE(writer.DataStart(), reservedStart) << "the media data did not move";
    }

    const Mp4FileLayout layout = ReadMp4Layout(file, file.Size());
    for (const std::string& p : layout.problems) ADD_FAILURE() << p;
    ASSERT_EQ(layout.topBoxes.front(), Fourcc("ftyp"));
    EXPECT_EQ(layout.topBoxes[1], Fourcc("moov"));
    EXPECT_EQ(layout.topBoxes.back(), Fourcc("mdat"));
    EXPECT_EQ(layout.dataEnd, file.Size());
    EXPECT_EQ(layout.dataStart, writer.DataStart());
    EXPECT_EQ(layout.mdatHeaderBytes, 8u);
    const std::vector<uint32_t> brands = {Fourcc("isom"), Fourcc("iso2"), Fourcc("avc1"),
                                          Fourcc("mp41")};
    EXPECT_EQ(layout.brands, brands);
    ASSERT_EQ(layout.tracks.size(), c.sound ? 2u : 1u);

    const Mp4TrackLayout& v = layout.tracks[0];
    EXPECT_EQ(v.handler, Fourcc("vide"));
    EXPECT_EQ(v.entryType, Fourcc("avc1"));
    EXPECT_EQ(v.timescale, 1000u);
    EXPECT_EQ(v.width, 642u);
    EXPECT_EQ(v.entryHeight, 363u);
    EXPECT_TRUE(v.squarePixels);
    EXPECT_TRUE(v.hasCtts && v.hasStss);
    EXPECT_FALSE(v.co64);
    // avcC: version, the SPS's profile, compatibility and level, 4-byte
    // lengths, the SPS, the PPS, then High profile's chroma and depth bytes.
    std::vector<uint8_t> avcC = {1, 0x64, 0x00, 0x1F, 0xFF, 0xE1, 0, uint8_t(Sps.size())};
    avcC.insert(avcC.end(), Sps.begin(), Sps.end());
    avcC.insert(avcC.end(), {1, 0, uint8_t(Pps.size())});
    avcC.insert(avcC.end(), Pps.begin(), Pps.end());
    avcC.insert(avcC.end(), {0xFD, 0xF8, 0xF8, 0});
    EXPECT_EQ(v.avcConfiguration, avcC);
    // The first picture shows at the edit's start.
    EXPECT_TRUE(v.hasEdit);
    int64_t firstShown = INT64_MAX, decoded = 0;
    for (const Unit& u : units)
        if (u.video) {
            firstShown = std::min(firstShown, decoded + u.offset);
            decoded += u.duration;
        }
    EXPECT_EQ(v.editMediaTime, firstShown);
    ExpectSamples(file, v, units, true);
    if (!c.sound) return;

    const Mp4TrackLayout& a = layout.tracks[1];
    EXPECT_EQ(a.handler, Fourcc("soun"));
    EXPECT_EQ(a.entryType, Fourcc("mp4a"));
    EXPECT_EQ(a.timescale, 48000u);
    EXPECT_EQ(a.sampleRate, 48000u);
    EXPECT_EQ(a.channels, 2u);
    EXPECT_EQ(a.objectType, 0x40);
    EXPECT_EQ(a.streamType, 5);
    EXPECT_EQ(a.audioSpecificConfig, Audio().audioSpecificConfig);
    EXPECT_FALSE(a.hasEdit || a.hasCtts || a.hasStss);
    uint32_t largest = 0;
    for (const Unit& u : units)
        if (!u.video) largest = std::max(largest, uint32_t(u.stored.size()));
    EXPECT_EQ(a.bufferBytes, largest);
    EXPECT_GT(a.averageBitrate, 0u);
    EXPECT_GE(a.maxBitrate, a.averageBitrate);
    ExpectSamples(file, a, units, false);
    ExpectInterleaved(layout);
}

INSTANTIATE_TEST_SUITE_P(Rooms, Mp4RoundTrip,
                         ::testing::Values(RoomCase{"EstimatedRoom", 0, true},
                                           RoomCase{"TooSmallMovesForward", 512, true},
                                           RoomCase{"FarTooLargeMovesBack", 4 << 20, true},
                                           RoomCase{"NoSound", 512, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Past 4 GB of media data: 64-bit chunk offsets and 'mdat' size, and the
// samples there still where the tables say. Only the edges of the large
// frames are kept in memory.
TEST(Mp4Writer, PastFourGigabytesOffsetsTakeSixtyFourBits) {
    constexpr size_t Big = size_t(64) << 20;
    constexpr uint32_t Frames = 66;  // 4.1 GiB
    std::vector<uint8_t> frame(Big, 0x55);
    SparseFile file;
    file.keepWhole = 1 << 20;
    const Mp4AudioTrack audio = Audio();
    Mp4Writer writer(file, Video(), &audio);
    ASSERT_TRUE(writer.Open());
    std::vector<Unit> units;
    uint32_t audioFrames = 0;
    for (uint32_t i = 0; i < Frames; ++i) {
        while (uint64_t(audioFrames) * 1024 / 48 <= uint64_t(i) * 1000)
            units.push_back(AudioUnit(audioFrames++));
        Unit u;
        u.key = i % 10 == 0;
        u.duration = i % 2 ? 1000 : 600;
        u.stored = {0, 0, 0, 0, uint8_t(u.key ? 0x65 : 0x41), uint8_t(i), uint8_t(i >> 8), 0x77};
        units.push_back(u);
    }
    for (const Unit& u : units) {
        if (!u.video) {
            ASSERT_TRUE(Write(writer, u));
            continue;
        }
        std::copy(u.stored.begin(), u.stored.end(), frame.begin());
        const uint32_t length = uint32_t(Big - 4);
        for (int k = 0; k < 4; ++k) frame[size_t(k)] = uint8_t(length >> (24 - 8 * k));
        ASSERT_TRUE(writer.WriteVideo(frame.data(), frame.size(), u.duration, u.key));
    }
    ASSERT_TRUE(writer.Close());
    ASSERT_GT(writer.MediaBytes(), uint64_t(UINT32_MAX));

    const Mp4FileLayout layout = ReadMp4Layout(file, file.Size());
    for (const std::string& p : layout.problems) ADD_FAILURE() << p;
    EXPECT_EQ(layout.mdatHeaderBytes, 16u);
    EXPECT_EQ(layout.dataEnd, file.Size());
    ASSERT_EQ(layout.tracks.size(), 2u);
    EXPECT_TRUE(layout.tracks[0].co64 && layout.tracks[1].co64);
    size_t videoIndex = 0, audioIndex = 0, pastFourGb = 0;
    for (const Unit& u : units) {
        const Mp4SampleAt& s = u.video ? layout.tracks[0].samples.at(videoIndex++)
                                       : layout.tracks[1].samples.at(audioIndex++);
        EXPECT_EQ(s.duration, u.duration);
        if (s.offset > UINT32_MAX) ++pastFourGb;
        if (!u.video) {
            ASSERT_EQ(Read(file, s.offset, s.size), u.stored);
            continue;
        }
        ASSERT_EQ(s.size, Big);
        std::vector<uint8_t> head = Read(file, s.offset, u.stored.size());
        ASSERT_EQ(head.size(), u.stored.size());
        EXPECT_TRUE(std::equal(head.begin() + 4, head.end(), u.stored.begin() + 4)) << videoIndex;
    }
    EXPECT_GT(pastFourGb, 10u);
}

// The writer's whole life, with call `fail` of the file failing (-1: none).
struct FailedRun {
    bool allTrue = true;
    Mp4WriteError error = Mp4WriteError::None;
    uint32_t code = 0;
    bool laterCallsRefused = true;
    bool hasIndex = false;
    int calls = 0;
};

FailedRun RunFailing(int fail, const std::vector<Unit>& units) {
    SparseFile file;
    file.failCall = fail;
    const Mp4AudioTrack audio = Audio();
    Mp4WriterLimits limits;
    limits.indexRoom = 256;  // Close moves the media data
    limits.moveBlockBytes = 16 * 1024;
    Mp4Writer writer(file, Video(), &audio, limits);
    FailedRun run;
    run.allTrue = writer.Open();
    for (const Unit& u : units) run.allTrue = Write(writer, u) && run.allTrue;
    run.allTrue = writer.Close() && run.allTrue;
    run.error = writer.Error();
    run.code = writer.FileErrorCode();
    run.laterCallsRefused = !Write(writer, units[0]) && !writer.Close();
    const Mp4FileLayout layout = ReadMp4Layout(file, file.Size());
    run.hasIndex = std::count(layout.topBoxes.begin(), layout.topBoxes.end(), Fourcc("moov")) > 0;
    run.calls = file.Calls();
    return run;
}

// Whichever call of the file fails, the writer says so, names the step
// and the system's code, takes nothing more, and leaves no index behind.
TEST(Mp4Writer, AFailedCallAnywhereIsReportedAndLeavesNoIndex) {
    const std::vector<Unit> units = Film(120, true);
    const FailedRun whole = RunFailing(-1, units);
    ASSERT_TRUE(whole.allTrue);
    ASSERT_TRUE(whole.hasIndex);
    std::vector<Mp4WriteError> steps;
    for (int fail = 0; fail < whole.calls; ++fail) {
        const FailedRun run = RunFailing(fail, units);
        EXPECT_FALSE(run.allTrue) << "call " << fail;
        EXPECT_NE(run.error, Mp4WriteError::None) << "call " << fail;
        EXPECT_EQ(run.code, SparseFile::FailedCode) << "call " << fail;
        EXPECT_TRUE(run.laterCallsRefused) << "call " << fail;
        EXPECT_FALSE(run.hasIndex) << "call " << fail;
        steps.push_back(run.error);
    }
    for (Mp4WriteError step : {Mp4WriteError::Header, Mp4WriteError::Media, Mp4WriteError::Move,
                               Mp4WriteError::Index, Mp4WriteError::Flush})
        EXPECT_NE(std::find(steps.begin(), steps.end(), step), steps.end()) << int(step);
}

TEST(Mp4Writer, RefusesWhatItCannotDescribe) {
    SparseFile file;
    Mp4VideoTrack notSps = Video();
    notSps.sps[0] = 0x68;
    Mp4Writer refused(file, notSps, nullptr);
    EXPECT_FALSE(refused.Open());
    EXPECT_EQ(refused.Error(), Mp4WriteError::BadInput);
    EXPECT_EQ(file.Calls(), 0);

    Mp4Writer writer(file, Video(), nullptr);
    ASSERT_TRUE(writer.Open());
    const uint8_t neither[] = {0x12, 0x34, 0x56, 0x78, 0x9A};  // no start code, no fitting length
    EXPECT_FALSE(writer.WriteVideo(neither, sizeof neither, 40, true));
    EXPECT_EQ(writer.Error(), Mp4WriteError::BadInput);
    EXPECT_FALSE(writer.Close());
}

}  // namespace
