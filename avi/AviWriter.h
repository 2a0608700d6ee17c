// Writes one recording as an AVI 2.0 (OpenDML) file that stays readable at
// every instant. The header is complete when the file is opened. Chunks are
// appended as they come; twice a second (and at each new RIFF part)
// a commit first stretches the part sizes over them, then writes their
// index entries into standard index chunks reserved ahead in the file, and
// only then the fields that lead to those entries (super index, lengths,
// totals). Every in-place write therefore claims only what is already in
// the file: a recording cut off after any write, by a crash or a full disk,
// reads back up to its last commit.
//
// A video chunk ('00dc') per position, empty where the recording skipped
// one; sound ('01wb') as it comes. Both threads of a recording call it; one
// lock of its own serialises them.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "avi/AviHeader.h"
#include "avi/AviIndex.h"
#include "avi/FilmWriter.h"
#include "avi/OutputFile.h"

struct AviWriterLimits {
    uint64_t partBytes = uint64_t(1) << 30;  // a RIFF part ends before it passes this size
    uint32_t indexEntries = 4096;            // entries of one standard index chunk
    uint32_t superIndexEntries = 4096;       // standard index chunks of one stream
    // Twice a second: a crash loses at most about half a second, for a
    // disk flush of a few milliseconds (bench/writer.sh), outside the lock.
    uint32_t commitMs = 500;     // the index follows the chunks at least this often
    uint32_t diskFlushMs = 500;  // chunks reach the disk before their index
};

enum class AviWriteError {
    None,
    File,       // the system refused a write; FileErrorCode tells why
    IndexFull,  // the recording outgrew the room reserved for its index
};

class AviWriter : public FilmWriter {
public:
    using Clock = std::function<uint64_t()>;  // milliseconds
    static uint64_t SteadyClockMs();

    // audio: null for a recording without sound.
    AviWriter(OutputFile& file, AviVideoStream video, const AviAudioStream* audio,
              AviWriterLimits limits = {}, Clock clock = SteadyClockMs);
    AviWriter(const AviWriter&) = delete;
    AviWriter& operator=(const AviWriter&) = delete;

    // Writes the header and opens the first 'movi' list.
    bool Open();
    // Stores a frame at position; the positions between the last one stored
    // and this one get empty chunks, so the stream keeps the wall clock.
    // A position already taken stores the frame at the next free one.
    bool WriteVideo(uint32_t position, const void* data, uint32_t size, bool keyFrame) override;
    // Whole sample frames of the audio stream's format.
    bool WriteAudio(const void* data, uint32_t size) override;
    // Brings the index and header up to date when a commit is due, or now
    // (before the recording rests in a pause).
    bool CommitIfDue() override;
    bool CommitNow() override;
    // The last commit, the legacy index of the first part, and the disk.
    bool Close() override;

    // After a failure the file holds everything written before it, with its
    // index and header, and the writer takes nothing more.
    AviWriteError Error() const;
    uint32_t FileErrorCode() const override;
    uint32_t VideoPositions() const override;  // positions stored, empty ones included
    bool IndexFull() const override { return Error() == AviWriteError::IndexFull; }
    int Parts() const;

private:
    struct StreamState {
        uint32_t chunkId = 0;
        uint32_t indexId = 0;
        StreamHeaderFields fields;
        uint32_t superUsed = 0;  // super index entries written
        uint64_t indexPos = 0;   // the standard index chunk being filled
        uint64_t indexBase = 0;
        bool indexRegistered = false;  // its super index entry is written
        uint32_t indexUsed = 0;        // entries committed into it
        uint32_t indexDuration = 0;
        std::vector<ChunkEntry> pending;  // stored, not yet indexed
        uint64_t length = 0;              // positions or samples indexed
        uint32_t largestChunk = 0;
        std::vector<uint64_t> firstPartIndexes;  // for the legacy index
    };
    struct Part {
        uint64_t riff, movi;
    };

    bool AppendChunk(int stream, const void* data, uint32_t size, bool keyFrame);
    bool MakeRoom(int stream, uint32_t chunkBytes);
    bool CommitAfterFlush(bool evenIfNotDue);
    bool Commit(bool reserveIndexes, uint64_t end = UINT64_MAX);
    bool WriteSizes(uint64_t end);
    bool IndexPending(StreamState& s, int stream, uint64_t end);
    bool RegisterIndex(StreamState& s);
    bool WriteTotals();
    bool ReserveIndex(StreamState& s);
    void PlaceIndex(StreamState& s, uint64_t pos, uint64_t base);
    bool StartPart();
    bool WriteLegacyIndex();
    bool ReadIndexEntries(uint64_t indexPos, std::vector<ChunkEntry>& entries);
    uint32_t Duration(int stream, uint32_t size) const;
    bool Put32(uint64_t at, uint32_t value);
    bool Append(const void* data, size_t size);
    bool Fail(AviWriteError error);

    mutable std::mutex m_lock;
    OutputFile& m_file;
    AviVideoStream m_video;
    bool m_hasAudio;
    AviAudioStream m_audio;
    AviWriterLimits m_limits;
    Clock m_clock;
    AviHeaderLayout m_header;
    StreamState m_streams[2];
    std::vector<Part> m_parts;
    uint64_t m_end = 0;            // where the next chunk goes
    uint64_t m_committedEnd = 0;   // the part sizes cover the file up to here
    bool m_partHasChunks = false;  // the current part holds a stream chunk
    uint32_t m_nextPosition = 0;
    uint32_t m_firstPartPositions = 0;
    uint64_t m_firstPartEntries = 0;  // indexed, both streams
    uint64_t m_lastCommit = 0, m_lastDiskFlush = 0;
    bool m_legacyIndexWritten = false;
    bool m_open = false;
    AviWriteError m_error = AviWriteError::None;
};
