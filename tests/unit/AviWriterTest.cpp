#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "avi/AviWriter.h"
#include "avi/RiffBytes.h"
#include "tests/support/AviLayoutReader.h"
#include "tests/support/MemoryFile.h"

namespace {

constexpr uint32_t Width = 64, Height = 48;
constexpr uint16_t SoundAlign = 4;  // 16-bit stereo

AviVideoStream Video() {
    RiffBytes b;  // BITMAPINFOHEADER
    b.U32(40);
    b.U32(Width);
    b.U32(Height);
    b.U16(1);
    b.U16(16);
    b.U32(Fourcc("MSVC"));
    b.U32(Width * Height * 2);
    b.Zeros(16);
    AviVideoStream video;
    video.handler = Fourcc("msvc");
    video.rate = 10;
    video.quality = 7500;
    video.format = b.Data();
    return video;
}

AviAudioStream Sound() {
    RiffBytes b;  // WAVEFORMATEX, PCM
    b.U16(1);
    b.U16(2);
    b.U32(11025);
    b.U32(11025 * SoundAlign);
    b.U16(SoundAlign);
    b.U16(16);
    b.U16(0);
    return {b.Data()};
}

// Bytes that tell frames apart; odd sizes too, for the padding.
std::vector<uint8_t> FrameBytes(uint32_t position) {
    std::vector<uint8_t> bytes(301 + position * 37 % 700);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(position * 131 + i);
    return bytes;
}

std::vector<uint8_t> SoundBytes(uint32_t block) {
    std::vector<uint8_t> bytes((1000 + block * 13 % 200) * SoundAlign);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(block * 17 + i * 3);
    return bytes;
}

std::string Lines(const std::vector<std::string>& problems) {
    std::string text;
    for (const std::string& p : problems) text += "\n  " + p;
    return text;
}

// A recording into memory, 10 frames and 10 blocks of sound per second of
// a clock the test moves, that remembers everything it offered.
class Recording {
public:
    // What the writer had taken after one call.
    struct Step {
        size_t writes = 0;
        uint64_t time = 0;
        uint32_t positions = 0;
        uint64_t soundBytes = 0;
    };

    Recording(AviWriterLimits limits, bool withSound, uint64_t capacity = UINT64_MAX)
        : limits(limits),
          withSound(withSound),
          sound(Sound()),
          writer(file, Video(), withSound ? &sound : nullptr, limits, [this] { return now; }) {
        file.capacity = capacity;
    }

    bool Open() { return Note(writer.Open()); }
    bool Frame(uint32_t position, bool key) {
        frames.resize(position + 1);  // skipped positions stay empty
        keys.resize(position + 1, false);
        frames[position] = FrameBytes(position);
        keys[position] = key;
        const bool ok = writer.WriteVideo(position, frames[position].data(),
                                          uint32_t(frames[position].size()), key);
        if (ok) positions = position + 1;
        return Note(ok);
    }
    bool Block() {
        const std::vector<uint8_t> block = SoundBytes(blocks++);
        offeredSound.insert(offeredSound.end(), block.begin(), block.end());
        const bool ok = writer.WriteAudio(block.data(), uint32_t(block.size()));
        if (ok) soundTaken = offeredSound.size();
        return Note(ok);
    }
    // Stops at the first refused write.
    bool Run(int tenths) {
        for (int i = 0; i < tenths; ++i) {
            now += 100;
            const uint32_t position = uint32_t(frames.size());
            if (!Frame(position, position % 10 == 0) || (withSound && !Block())) return false;
            // As the recording thread does after every frame.
            if (!Note(writer.CommitIfDue())) return false;
        }
        return true;
    }
    bool Close() { return Note(writer.Close()); }

    // The last step at least one commit interval before the last call
    // that was complete within the first `writes` writes.
    Step CommittedBy(size_t writes) const {
        uint64_t doneAt = 0;
        for (const Step& s : steps)
            if (s.writes <= writes) doneAt = s.time;
        Step due;
        for (const Step& s : steps)
            if (s.time + limits.commitMs <= doneAt) due = s;
        return due;
    }

    AviWriterLimits limits;
    bool withSound;
    MemoryFile file;
    AviAudioStream sound;
    uint64_t now = 50000;
    AviWriter writer;
    std::vector<std::vector<uint8_t>> frames;  // offered, by position
    std::vector<bool> keys;
    std::vector<uint8_t> offeredSound;
    uint32_t blocks = 0, positions = 0;
    uint64_t soundTaken = 0;
    std::vector<Step> steps;

private:
    bool Note(bool ok) {
        steps.push_back({file.Log().size(), now, positions, soundTaken});
        return ok;
    }
};

uint64_t IndexedBytes(const AviStreamLayout& s) {
    uint64_t bytes = 0;
    for (const AviIndexedChunk& e : s.Indexed()) bytes += e.size;
    return bytes;
}

// Every indexed chunk holds what was offered for it, in order, and is a key
// frame exactly when the frame was.
void ExpectContent(const std::vector<uint8_t>& file, const AviLayout& layout, const Recording& r) {
    ASSERT_FALSE(layout.streams.empty());
    const std::vector<AviIndexedChunk> video = layout.streams[0].Indexed();
    ASSERT_LE(video.size(), r.frames.size());
    for (size_t i = 0; i < video.size(); ++i) {
        ASSERT_LE(video[i].position + 8 + video[i].size, file.size());
        const auto data = file.begin() + long(video[i].position + 8);
        EXPECT_TRUE(std::equal(data, data + video[i].size, r.frames[i].begin(), r.frames[i].end()))
            << "frame " << i;
        EXPECT_EQ(video[i].keyFrame, bool(r.keys[i])) << "frame " << i;
    }
    if (layout.streams.size() < 2) return;
    std::vector<uint8_t> sound;
    for (const AviIndexedChunk& e : layout.streams[1].Indexed()) {
        ASSERT_LE(e.position + 8 + e.size, file.size());
        EXPECT_TRUE(e.keyFrame);
        sound.insert(sound.end(), file.begin() + long(e.position + 8),
                     file.begin() + long(e.position + 8 + e.size));
    }
    ASSERT_LE(sound.size(), r.offeredSound.size());
    EXPECT_TRUE(std::equal(sound.begin(), sound.end(), r.offeredSound.begin()));
}

// The index and the header lengths cover at least what the step had taken.
void ExpectCovers(const AviLayout& layout, const Recording::Step& step) {
    ASSERT_FALSE(layout.streams.empty());
    EXPECT_GE(layout.streams[0].Indexed().size(), step.positions);
    EXPECT_GE(layout.streams[0].length, step.positions);
    EXPECT_GE(layout.extendedTotalFrames, step.positions);
    if (layout.streams.size() < 2) return;
    EXPECT_GE(IndexedBytes(layout.streams[1]), step.soundBytes);
    EXPECT_GE(uint64_t(layout.streams[1].length) * SoundAlign, step.soundBytes);
}

AviLayout ReadConsistent(const std::vector<uint8_t>& file, AviMoment moment) {
    const std::vector<std::string> problems = CheckAviLayout(file, moment);
    EXPECT_TRUE(problems.empty()) << Lines(problems);
    return ReadAviLayout(file);
}

AviWriterLimits SmallRiffs() {
    AviWriterLimits limits;
    limits.partBytes = 64 * 1024;
    limits.indexEntries = 8;
    limits.superIndexEntries = 256;
    return limits;
}

}  // namespace

TEST(AviWriterLayout, VideoOnlyReadsBackWithEmptyChunksForSkippedPositions) {
    Recording r({}, false);
    ASSERT_TRUE(r.Open());
    for (uint32_t position : {0u, 1u, 2u, 5u, 6u})
        ASSERT_TRUE(r.Frame(position, position % 5 == 0));
    ASSERT_TRUE(r.Close());

    const AviLayout l = ReadConsistent(r.file.Bytes(), AviMoment::Settled);
    EXPECT_EQ(l.parts.size(), 1u);
    EXPECT_EQ(l.parts[0].formType, Fourcc("AVI "));
    EXPECT_EQ(l.tailBytes, 0u);
    EXPECT_EQ(l.mainStreams, 1u);
    EXPECT_EQ(l.microSecPerFrame, 100000u);
    EXPECT_EQ(l.width, Width);
    EXPECT_EQ(l.height, Height);
    EXPECT_EQ(l.mainFlags & AvifHasIndex, AvifHasIndex);
    EXPECT_EQ(l.mainTotalFrames, 7u);
    EXPECT_EQ(l.extendedTotalFrames, 7u);

    const AviStreamLayout& v = l.streams.at(0);
    EXPECT_EQ(v.type, Fourcc("vids"));
    EXPECT_EQ(v.handler, Fourcc("msvc"));
    EXPECT_EQ(v.scale, 1u);
    EXPECT_EQ(v.rate, 10u);
    EXPECT_EQ(v.length, 7u);
    EXPECT_EQ(v.quality, 7500u);
    EXPECT_EQ(v.format, Video().format);
    EXPECT_EQ(v.superChunkId, Fourcc("00dc"));
    size_t largest = 0;
    for (const std::vector<uint8_t>& frame : r.frames) largest = std::max(largest, frame.size());
    EXPECT_EQ(v.suggestedSize, largest);

    const std::vector<AviIndexedChunk> entries = v.Indexed();
    ASSERT_EQ(entries.size(), 7u);
    EXPECT_EQ(entries[3].size, 0u);
    EXPECT_EQ(entries[4].size, 0u);
    ExpectContent(r.file.Bytes(), l, r);
    EXPECT_EQ(l.legacyIndex.size(), 7u);
}

TEST(AviWriterLayout, SoundIsAPcmStreamCountedInSamples) {
    Recording r({}, true);
    ASSERT_TRUE(r.Open());
    ASSERT_TRUE(r.Run(25));
    ASSERT_TRUE(r.Close());

    const AviLayout l = ReadConsistent(r.file.Bytes(), AviMoment::Settled);
    ASSERT_EQ(l.streams.size(), 2u);
    EXPECT_EQ(l.mainStreams, 2u);
    const AviStreamLayout& a = l.streams[1];
    EXPECT_EQ(a.type, Fourcc("auds"));
    EXPECT_EQ(a.scale, SoundAlign);
    EXPECT_EQ(a.rate, 11025u * SoundAlign);
    EXPECT_EQ(a.sampleSize, SoundAlign);
    EXPECT_EQ(a.length, r.offeredSound.size() / SoundAlign);
    EXPECT_EQ(a.format, Sound().format);
    EXPECT_EQ(a.superChunkId, Fourcc("01wb"));
    EXPECT_EQ(a.Indexed().size(), 25u);
    EXPECT_EQ(l.streams[0].length, 25u);
    // Both streams in one idx1, in file order (the check compares it chunk by chunk).
    EXPECT_EQ(l.legacyIndex.size(), 50u);
    ExpectContent(r.file.Bytes(), l, r);
}

TEST(AviWriterCommits, IndexAndHeaderFollowWithinOneCommitInterval) {
    Recording r({}, true);
    ASSERT_TRUE(r.Open());
    for (int second = 1; second <= 6; ++second) {
        ASSERT_TRUE(r.Run(10));
        const AviLayout l = ReadConsistent(r.file.Bytes(), AviMoment::Settled);
        ExpectCovers(l, r.CommittedBy(r.file.Log().size()));
        ExpectContent(r.file.Bytes(), l, r);
    }
    // Without new chunks, the writer's caller still brings the index up to date.
    r.now += r.limits.commitMs;
    ASSERT_TRUE(r.writer.CommitIfDue());
    const AviLayout l = ReadConsistent(r.file.Bytes(), AviMoment::Settled);
    EXPECT_EQ(l.streams[0].length, 60u);
    EXPECT_EQ(l.streams[1].length, r.offeredSound.size() / SoundAlign);
    EXPECT_EQ(l.tailBytes, 0u);
}

TEST(AviWriterLongRecordings, SpansSeveralRiffsEachWithItsOwnIndexes) {
    const AviWriterLimits limits = SmallRiffs();
    Recording r(limits, true);
    ASSERT_TRUE(r.Open());
    ASSERT_TRUE(r.Run(200));
    ASSERT_TRUE(r.Close());

    const AviLayout l = ReadConsistent(r.file.Bytes(), AviMoment::Settled);
    ASSERT_GE(l.parts.size(), 3u);
    EXPECT_EQ(int(l.parts.size()), r.writer.Parts());
    EXPECT_EQ(l.tailBytes, 0u);
    EXPECT_LE(l.parts[0].riffSize + 8u, limits.partBytes);  // its idx1 included
    for (size_t p = 1; p < l.parts.size(); ++p) {
        EXPECT_EQ(l.parts[p].formType, Fourcc("AVIX"));
        EXPECT_LE(l.parts[p].riffSize + 8u, limits.partBytes);
    }
    for (const AviStreamLayout& s : l.streams) {
        // Within a part every standard index chunk but the last is full.
        for (size_t i = 0; i < s.indexes.size(); ++i) {
            const bool lastOfPart =
                i + 1 == s.indexes.size() || s.indexes[i + 1].part != s.indexes[i].part;
            EXPECT_EQ(s.indexes[i].room, limits.indexEntries);
            if (!lastOfPart) {
                EXPECT_EQ(s.indexes[i].entries.size(), limits.indexEntries);
            }
        }
        for (size_t p = 0; p < l.parts.size(); ++p)
            EXPECT_TRUE(std::any_of(s.indexes.begin(), s.indexes.end(),
                                    [&](const AviStandardIndex& x) { return x.part == int(p); }))
                << "part " << p;
    }
    // idx1 covers the first part only; avih counts its frames, dmlh all of them.
    ASSERT_FALSE(l.legacyIndex.empty());
    EXPECT_LT(l.legacyIndex.back().position, l.parts[1].riff);
    const uint32_t firstRiffFrames = uint32_t(
        std::count_if(l.legacyIndex.begin(), l.legacyIndex.end(),
                      [](const AviLegacyEntry& e) { return e.chunkId == Fourcc("00dc"); }));
    EXPECT_EQ(l.mainTotalFrames, firstRiffFrames);
    EXPECT_LT(l.mainTotalFrames, 200u);
    EXPECT_EQ(l.extendedTotalFrames, 200u);
    EXPECT_EQ(r.writer.VideoPositions(), 200u);
    ExpectContent(r.file.Bytes(), l, r);
}

TEST(AviWriterLongRecordings, ExhaustedSuperIndexStopsTheRecordingConsistently) {
    AviWriterLimits limits;
    limits.indexEntries = 4;
    limits.superIndexEntries = 3;
    Recording r(limits, false);
    ASSERT_TRUE(r.Open());
    EXPECT_FALSE(r.Run(100));
    EXPECT_EQ(r.writer.Error(), AviWriteError::IndexFull);
    EXPECT_EQ(r.writer.FileErrorCode(), 0u);
    EXPECT_FALSE(r.Frame(uint32_t(r.frames.size()), true));

    // Every index chunk the header has room for is filled before the refusal.
    AviLayout l = ReadConsistent(r.file.Bytes(), AviMoment::Settled);
    EXPECT_EQ(l.streams[0].Indexed().size(), limits.indexEntries * limits.superIndexEntries);
    EXPECT_EQ(r.writer.VideoPositions(), limits.indexEntries * limits.superIndexEntries);
    ExpectContent(r.file.Bytes(), l, r);
    r.Close();
    l = ReadConsistent(r.file.Bytes(), AviMoment::Settled);
    EXPECT_TRUE(l.hasLegacyIndex);
    EXPECT_EQ(l.tailBytes, 0u);
}

TEST(AviWriterCrash, FileCutAnywhereStaysConsistentAndKeepsWhatWasCommitted) {
    Recording r(SmallRiffs(), true);
    ASSERT_TRUE(r.Open());
    const size_t opened = r.file.Log().size();
    ASSERT_TRUE(r.Run(120));
    ASSERT_TRUE(r.Close());
    ASSERT_GE(r.writer.Parts(), 3);

    // A field patched in place is taken to land whole; any other write may
    // be cut short, as a crash leaves a lost tail.
    const std::vector<MemoryFile::Write>& log = r.file.Log();
    std::vector<size_t> tearable;
    uint64_t size = 0;  // of the file before write i
    for (size_t i = 0; i < log.size(); ++i) {
        const MemoryFile::Write& w = log[i];
        if (w.truncate) {
            size = std::min(size, w.truncateSize);
            continue;
        }
        const bool grows = w.offset + w.bytes.size() > size;
        if (i >= opened && w.bytes.size() > 1 && (grows || w.bytes.size() > 4))
            tearable.push_back(i);
        size = std::max(size, w.offset + w.bytes.size());
    }
    std::mt19937 random(20240611);
    for (int cut = 0; cut < 200; ++cut) {
        size_t writes = std::uniform_int_distribution<size_t>(opened, log.size())(random),
               bytes = 0;
        if (cut % 2) {
            writes =
                tearable[std::uniform_int_distribution<size_t>(0, tearable.size() - 1)(random)];
            bytes = std::uniform_int_distribution<size_t>(1, log[writes].bytes.size() - 1)(random);
        }
        SCOPED_TRACE("cut after " + std::to_string(writes) + " writes and " +
                     std::to_string(bytes) + " bytes");
        const std::vector<uint8_t> file = r.file.After(writes, bytes);
        const AviLayout l = ReadConsistent(file, AviMoment::AnyInstant);
        ExpectCovers(l, r.CommittedBy(writes));
        ExpectContent(file, l, r);
    }
}

TEST(AviWriterCrash, FullDiskKeepsEverythingWrittenBeforeIt) {
    const AviWriterLimits limits = SmallRiffs();
    Recording whole(limits, true);
    ASSERT_TRUE(whole.Open() && whole.Run(120) && whole.Close());
    // Out of room while opening and all through the recording; odd sizes
    // tear a chunk.
    const AviAudioStream sound = Sound();
    const uint64_t header = BuildAviHeader(Video(), &sound, limits.superIndexEntries).bytes.size();
    std::vector<uint64_t> capacities = {header + 16};
    for (uint64_t i = 1; i < 10; ++i) capacities.push_back(whole.file.Bytes().size() * i / 10 + i);

    for (uint64_t capacity : capacities) {
        SCOPED_TRACE("capacity " + std::to_string(capacity));
        Recording r(limits, true, capacity);
        const bool opened = r.Open();
        if (opened) {
            EXPECT_FALSE(r.Run(120));
        }
        EXPECT_EQ(r.writer.Error(), AviWriteError::File);
        EXPECT_EQ(r.writer.FileErrorCode(), MemoryFile::DiskFull);
        EXPECT_FALSE(r.Frame(uint32_t(r.frames.size()), true));
        EXPECT_FALSE(r.Block());
        if (!opened) {
            EXPECT_TRUE(r.file.Bytes().empty()) << "a torn header is cut off";
            continue;
        }
        for (bool closed : {false, true}) {
            if (closed) r.Close();
            const std::vector<uint8_t>& file = r.file.Bytes();
            EXPECT_LE(file.size(), capacity);
            const AviLayout l = ReadConsistent(file, AviMoment::Settled);
            EXPECT_EQ(l.tailBytes, 0u) << "closed " << closed;
            ExpectCovers(l, r.steps.back());
            ExpectContent(file, l, r);
        }
    }
}

// A file whose disk flush lets the other thread write a sound block while
// it runs, as the recording's audio thread may.
class FileWrittenDuringFlush : public MemoryFile {
public:
    std::function<void()> duringFlush;
    bool FlushToDisk() override {
        if (duringFlush) std::exchange(duringFlush, nullptr)();
        return MemoryFile::FlushToDisk();
    }
};

TEST(AviWriterCommits, AnIndexLeadsOnlyToChunksTheDiskFlushCovered) {
    FileWrittenDuringFlush file;
    const AviAudioStream sound = Sound();
    uint64_t now = 0;
    AviWriter writer(file, Video(), &sound, {}, [&] { return now; });
    ASSERT_TRUE(writer.Open());
    const std::vector<uint8_t> frame = FrameBytes(0), block = SoundBytes(0);
    ASSERT_TRUE(writer.WriteVideo(0, frame.data(), uint32_t(frame.size()), true));
    file.duringFlush = [&] {
        EXPECT_TRUE(writer.WriteAudio(block.data(), uint32_t(block.size())));
    };
    now = 1000;
    ASSERT_TRUE(writer.CommitIfDue());
    EXPECT_EQ(file.Flushes(), 1);
    AviLayout l = ReadConsistent(file.Bytes(), AviMoment::AnyInstant);
    EXPECT_EQ(l.streams[0].Indexed().size(), 1u);
    EXPECT_EQ(l.streams[1].Indexed().size(), 0u) << "written while the flush ran";
    // The next flush covers it.
    now = 2000;
    ASSERT_TRUE(writer.CommitIfDue());
    l = ReadConsistent(file.Bytes(), AviMoment::Settled);
    EXPECT_EQ(l.streams[1].Indexed().size(), 1u);
    EXPECT_EQ(file.Flushes(), 2);
}
