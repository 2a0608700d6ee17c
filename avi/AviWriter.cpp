#include "avi/AviWriter.h"

#include <algorithm>
#include <chrono>

#include "avi/RiffBytes.h"

namespace {

constexpr uint64_t EntriesInUseField = 12;  // in both kinds of index chunk
constexpr size_t LegacyBatchEntries = 4096;

}  // namespace

uint64_t AviWriter::SteadyClockMs() {
    using namespace std::chrono;
    return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

AviWriter::AviWriter(OutputFile& file, AviVideoStream video, const AviAudioStream* audio,
                     AviWriterLimits limits, Clock clock)
    : m_file(file),
      m_video(std::move(video)),
      m_hasAudio(audio != nullptr),
      m_audio(audio ? *audio : AviAudioStream{}),
      m_limits(limits),
      m_clock(std::move(clock)) {
    m_streams[0].chunkId = Fourcc("00dc");
    m_streams[0].indexId = Fourcc("ix00");
    m_streams[1].chunkId = Fourcc("01wb");
    m_streams[1].indexId = Fourcc("ix01");
}

// One write: the header, the first standard index chunks (before the
// 'movi' list, so that its first chunk is the first one a legacy reader
// expects there) and the empty 'movi' list.
bool AviWriter::Open() {
    std::lock_guard<std::mutex> guard(m_lock);
    m_header = BuildAviHeader(m_video, m_hasAudio ? &m_audio : nullptr, m_limits.superIndexEntries);
    RiffBytes start;
    start.Append(m_header.bytes);
    const size_t indexBytes =
        StandardIndexHeaderBytes + size_t(m_limits.indexEntries) * StandardIndexEntryBytes;
    const uint64_t movi = start.Size() + size_t(m_header.streamCount) * indexBytes;
    m_parts.push_back({0, movi});
    for (int i = 0; i < m_header.streamCount; ++i) {
        StreamState& s = m_streams[i];
        s.fields = m_header.streams[i];
        PlaceIndex(s, start.Size(), movi);
        start.Append(EmptyStandardIndex(s.indexId, s.chunkId, movi, m_limits.indexEntries));
    }
    start.Close(start.OpenList(Fourcc("LIST"), Fourcc("movi")));
    start.Put32(m_header.riffSize, uint32_t(start.Size() - 8));
    if (!m_file.WriteAt(0, start.Data().data(), start.Size())) return Fail(AviWriteError::File);
    m_end = m_committedEnd = start.Size();
    m_lastCommit = m_lastDiskFlush = m_clock();
    m_open = Commit(true);
    return m_open;
}

bool AviWriter::WriteVideo(uint32_t position, const void* data, uint32_t size, bool keyFrame) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_open || m_error != AviWriteError::None) return false;
    position = std::max(position, m_nextPosition);
    bool ok = true;
    while (ok && m_nextPosition < position) {
        ok = AppendChunk(0, nullptr, 0, false);
        if (ok) ++m_nextPosition;
    }
    ok = ok && AppendChunk(0, data, size, keyFrame);
    if (ok) ++m_nextPosition;
    return ok;
}

bool AviWriter::WriteAudio(const void* data, uint32_t size) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_open || !m_hasAudio || m_error != AviWriteError::None) return false;
    return AppendChunk(1, data, size, true);
}

bool AviWriter::CommitIfDue() { return CommitAfterFlush(false); }

bool AviWriter::CommitNow() { return CommitAfterFlush(true); }

// When a disk flush is due, it runs outside the lock, so that the other
// thread goes on writing meanwhile, and the commit after it indexes only
// the chunks the flush covered: an index on the disk never leads to
// chunks that are not.
bool AviWriter::CommitAfterFlush(bool evenIfNotDue) {
    uint64_t now, flushedEnd;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (!m_open || m_error != AviWriteError::None) return false;
        now = m_clock();
        if (!evenIfNotDue && now - m_lastCommit < m_limits.commitMs) return true;
        // Commits keep their own beat; one made for a full index chunk or a
        // new part on the way does not put the next one off.
        m_lastCommit = now;
        if (now - m_lastDiskFlush < m_limits.diskFlushMs) return Commit(true);
        flushedEnd = m_end;
    }
    const bool flushed = m_file.FlushToDisk();
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_open || m_error != AviWriteError::None) return false;
    if (!flushed) return Fail(AviWriteError::File);
    m_lastDiskFlush = now;
    return Commit(true, flushedEnd);
}

bool AviWriter::Close() {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_open) return false;
    m_open = false;
    if (m_error == AviWriteError::None && Commit(false) &&
        (m_legacyIndexWritten || WriteLegacyIndex()) && m_file.FlushToDisk())
        return true;
    if (m_error == AviWriteError::None) Fail(AviWriteError::File);
    // What is in the file stays readable; the legacy index only if it fits.
    if (!m_legacyIndexWritten && m_parts.size() == 1 && !WriteLegacyIndex())
        m_file.Truncate(m_end);
    m_file.FlushToDisk();
    return false;
}

AviWriteError AviWriter::Error() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_error;
}

uint32_t AviWriter::FileErrorCode() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_file.ErrorCode();
}

uint32_t AviWriter::VideoPositions() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_nextPosition;
}

int AviWriter::Parts() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return int(m_parts.size());
}

// Appends one chunk and remembers it for the next commit.
bool AviWriter::AppendChunk(int stream, const void* data, uint32_t size, bool keyFrame) {
    const uint32_t chunkBytes = 8 + size + (size & 1);
    if (!MakeRoom(stream, chunkBytes)) return false;
    StreamState& s = m_streams[stream];
    const uint64_t start = m_end;
    RiffBytes head;
    head.U32(s.chunkId);
    head.U32(size);
    static const uint8_t pad = 0;
    if (!m_file.WriteAt(start, head.Data().data(), 8) ||
        (size && !m_file.WriteAt(start + 8, data, size)) ||
        ((size & 1) && !m_file.WriteAt(start + 8 + size, &pad, 1)))
        return Fail(AviWriteError::File);
    m_end = start + chunkBytes;
    m_partHasChunks = true;
    s.pending.push_back({start, size, keyFrame});
    s.largestChunk = std::max(s.largestChunk, size);
    return true;
}

// A new RIFF part when this chunk, with what may still follow it in the
// part (a standard index chunk a stream, the first part's legacy index),
// would pass the part's size; a commit when the stream's standard index
// chunk has no room for another entry.
bool AviWriter::MakeRoom(int stream, uint32_t chunkBytes) {
    uint64_t tail = uint64_t(m_header.streamCount) *
                    (StandardIndexHeaderBytes + uint64_t(m_limits.indexEntries) * 8);
    if (m_parts.size() == 1) {
        uint64_t entries = m_firstPartEntries + 1;
        for (int i = 0; i < m_header.streamCount; ++i) entries += m_streams[i].pending.size();
        tail += 8 + entries * LegacyIndexEntryBytes;
    }
    if (m_partHasChunks && m_end + chunkBytes + tail - m_parts.back().riff > m_limits.partBytes &&
        !StartPart())
        return false;
    const StreamState& s = m_streams[stream];
    if (s.indexUsed + s.pending.size() >= m_limits.indexEntries) return Commit(true);
    return true;
}

// The chunks before `end` are in the file; now the fields that lead to
// them: part sizes, super index, standard index entries and their count,
// lengths and totals. A write that is lost leaves every earlier one true.
// reserveIndexes: a stream whose standard index chunk is full gets the next
// one.
bool AviWriter::Commit(bool reserveIndexes, uint64_t end) {
    // A commit since (a new part's) may have gone further already.
    end = std::max(std::min(end, m_end), m_committedEnd);
    if (!WriteSizes(end)) return false;
    for (int i = 0; i < m_header.streamCount; ++i)
        if (!RegisterIndex(m_streams[i]) || !IndexPending(m_streams[i], i, end)) return false;
    if (!WriteTotals()) return false;
    if (!reserveIndexes) return true;
    for (int i = 0; i < m_header.streamCount; ++i) {
        StreamState& s = m_streams[i];
        // Registered by the next commit, after the disk has the chunk.
        if (s.indexUsed >= m_limits.indexEntries && !ReserveIndex(s)) return false;
    }
    return true;
}

bool AviWriter::WriteSizes(uint64_t end) {
    if (end == m_committedEnd) return true;
    // The part before its 'movi' list, so that the list never runs past it.
    const Part& part = m_parts.back();
    if (!Put32(part.riff + 4, uint32_t(end - part.riff - 8)) ||
        !Put32(part.movi + 4, uint32_t(end - part.movi - 8)))
        return false;
    m_committedEnd = end;
    return true;
}

// The super index entry of a reserved standard index chunk, then the count
// that makes readers take it.
bool AviWriter::RegisterIndex(StreamState& s) {
    if (s.indexRegistered) return true;
    RiffBytes entry;
    entry.U64(s.indexPos);
    entry.U32(uint32_t(StandardIndexHeaderBytes + size_t(m_limits.indexEntries) * 8));
    entry.U32(0);  // dwDuration, as entries come
    const uint64_t at = s.fields.superIndex + SuperIndexHeaderBytes +
                        uint64_t(s.superUsed) * SuperIndexEntryBytes;
    if (!m_file.WriteAt(at, entry.Data().data(), entry.Size())) return Fail(AviWriteError::File);
    if (!Put32(s.fields.superIndex + EntriesInUseField, s.superUsed + 1)) return false;
    ++s.superUsed;
    s.indexRegistered = true;
    return true;
}

bool AviWriter::IndexPending(StreamState& s, int stream, uint64_t end) {
    size_t count = 0;
    while (count < s.pending.size() && s.pending[count].position < end) ++count;
    if (count == 0) return true;
    const std::vector<ChunkEntry> done(s.pending.begin(), s.pending.begin() + long(count));
    const std::vector<uint8_t> bytes = StandardIndexEntries(done, s.indexBase);
    const uint64_t at = s.indexPos + StandardIndexHeaderBytes + uint64_t(s.indexUsed) * 8;
    if (!m_file.WriteAt(at, bytes.data(), bytes.size())) return Fail(AviWriteError::File);
    if (!Put32(s.indexPos + EntriesInUseField, s.indexUsed + uint32_t(count))) return false;
    uint32_t duration = 0;
    for (const ChunkEntry& e : done) duration += Duration(stream, e.size);
    const uint64_t superEntry = s.fields.superIndex + SuperIndexHeaderBytes +
                                uint64_t(s.superUsed - 1) * SuperIndexEntryBytes;
    if (!Put32(superEntry + 12, s.indexDuration + duration)) return false;
    s.indexUsed += uint32_t(count);
    s.indexDuration += duration;
    s.length += duration;
    if (m_parts.size() == 1) {
        m_firstPartEntries += count;
        if (stream == 0) m_firstPartPositions += uint32_t(count);
    }
    s.pending.erase(s.pending.begin(), s.pending.begin() + long(count));
    return true;
}

bool AviWriter::WriteTotals() {
    uint32_t largest = 0;
    for (int i = 0; i < m_header.streamCount; ++i) {
        const StreamState& s = m_streams[i];
        largest = std::max(largest, s.largestChunk);
        if (!Put32(s.fields.length, uint32_t(s.length)) ||
            !Put32(s.fields.suggestedSize, s.largestChunk))
            return false;
    }
    return Put32(m_header.mainTotalFrames, m_firstPartPositions) &&
           Put32(m_header.mainSuggestedSize, largest) &&
           Put32(m_header.extendedTotalFrames, uint32_t(m_streams[0].length));
}

// Appends an empty standard index chunk for the stream's next entries; a
// commit registers it in the super index.
bool AviWriter::ReserveIndex(StreamState& s) {
    if (s.superUsed >= m_limits.superIndexEntries) return Fail(AviWriteError::IndexFull);
    const uint64_t base = m_parts.back().movi;
    const std::vector<uint8_t> chunk =
        EmptyStandardIndex(s.indexId, s.chunkId, base, m_limits.indexEntries);
    if (!m_file.WriteAt(m_end, chunk.data(), chunk.size())) return Fail(AviWriteError::File);
    PlaceIndex(s, m_end, base);
    m_end += chunk.size();
    return true;
}

void AviWriter::PlaceIndex(StreamState& s, uint64_t pos, uint64_t base) {
    s.indexPos = pos;
    s.indexBase = base;
    s.indexUsed = 0;
    s.indexDuration = 0;
    s.indexRegistered = false;
    if (m_parts.size() == 1) s.firstPartIndexes.push_back(pos);
}

// Ends the current part (the first one with its legacy index) and opens a
// RIFF 'AVIX' part with standard index chunks of its own.
bool AviWriter::StartPart() {
    if (!m_file.FlushToDisk()) return Fail(AviWriteError::File);
    if (!Commit(false)) return false;
    if (m_parts.size() == 1 && !WriteLegacyIndex()) return false;
    // The part claims only its form type until the commit below takes in
    // its 'movi' list: a torn write of this header claims nothing missing.
    RiffBytes b;
    const size_t riff = b.OpenList(Fourcc("RIFF"), Fourcc("AVIX"));
    b.Close(riff);
    const size_t movi = b.OpenList(Fourcc("LIST"), Fourcc("movi"));
    b.Close(movi);
    if (!m_file.WriteAt(m_end, b.Data().data(), b.Size())) return Fail(AviWriteError::File);
    m_parts.push_back({m_end, m_end + 12});
    m_committedEnd = m_end + 12;
    m_end += b.Size();
    m_partHasChunks = false;
    for (int i = 0; i < m_header.streamCount; ++i)
        if (!ReserveIndex(m_streams[i])) return false;
    return Commit(false);
}

// The 'idx1' of the first part, merged in file order from its standard
// index chunks, read back one at a time so that memory stays small.
bool AviWriter::WriteLegacyIndex() {
    struct Cursor {
        std::vector<uint64_t> indexes;
        size_t next = 0;
        std::vector<ChunkEntry> batch;
        size_t at = 0;
    };
    Cursor cursors[2];
    uint64_t total = 0;
    for (int i = 0; i < m_header.streamCount; ++i) {
        cursors[i].indexes = m_streams[i].firstPartIndexes;
        for (uint64_t pos : cursors[i].indexes) {
            uint8_t count[4];
            if (!m_file.ReadAt(pos + EntriesInUseField, count, 4)) return Fail(AviWriteError::File);
            total += Read32(count);
        }
    }
    const uint64_t start = m_end;
    RiffBytes head;
    head.U32(Fourcc("idx1"));
    head.U32(uint32_t(total * LegacyIndexEntryBytes));
    if (!m_file.WriteAt(start, head.Data().data(), 8)) return Fail(AviWriteError::File);

    const uint64_t moviType = m_parts.front().movi + 8;
    uint64_t at = start + 8;
    std::vector<uint8_t> out;
    for (;;) {
        int pick = -1;
        for (int i = 0; i < m_header.streamCount; ++i) {
            Cursor& c = cursors[i];
            while (c.at == c.batch.size() && c.next < c.indexes.size()) {
                if (!ReadIndexEntries(c.indexes[c.next++], c.batch)) return false;
                c.at = 0;
            }
            if (c.at < c.batch.size() &&
                (pick < 0 || c.batch[c.at].position < cursors[pick].batch[cursors[pick].at].position))
                pick = i;
        }
        if (pick >= 0) {
            Cursor& c = cursors[pick];
            PutLegacyIndexEntry(out, m_streams[pick].chunkId, c.batch[c.at++], moviType);
        }
        if (out.size() >= LegacyBatchEntries * LegacyIndexEntryBytes || (pick < 0 && !out.empty())) {
            if (!m_file.WriteAt(at, out.data(), out.size())) return Fail(AviWriteError::File);
            at += out.size();
            out.clear();
        }
        if (pick < 0) break;
    }
    const Part& first = m_parts.front();
    uint8_t flags[4];
    if (!m_file.ReadAt(m_header.mainFlags, flags, 4)) return Fail(AviWriteError::File);
    if (!Put32(first.riff + 4, uint32_t(at - first.riff - 8)) ||
        !Put32(m_header.mainFlags, Read32(flags) | AvifHasIndex))
        return false;
    m_end = m_committedEnd = at;
    m_legacyIndexWritten = true;
    return true;
}

bool AviWriter::ReadIndexEntries(uint64_t indexPos, std::vector<ChunkEntry>& entries) {
    uint8_t header[StandardIndexHeaderBytes];
    if (!m_file.ReadAt(indexPos, header, sizeof header)) return Fail(AviWriteError::File);
    const uint32_t count = std::min(Read32(header + EntriesInUseField), m_limits.indexEntries);
    std::vector<uint8_t> bytes(size_t(count) * StandardIndexEntryBytes);
    if (count && !m_file.ReadAt(indexPos + StandardIndexHeaderBytes, bytes.data(), bytes.size()))
        return Fail(AviWriteError::File);
    entries = ReadStandardIndexEntries(bytes.data(), count, Read64(header + 20));
    return true;
}

uint32_t AviWriter::Duration(int stream, uint32_t size) const {
    if (stream == 0) return 1;
    const uint16_t align = BlockAlignOf(m_audio);
    return align ? size / align : size;
}

bool AviWriter::Put32(uint64_t at, uint32_t value) {
    uint8_t bytes[4];
    for (int i = 0; i < 4; ++i) bytes[i] = uint8_t(value >> (8 * i));
    return m_file.WriteAt(at, bytes, 4) || Fail(AviWriteError::File);
}

// The first failure is the one reported. What was written before it stays
// readable: its entries are indexed in the room already reserved (no file
// growth needed) and a torn chunk is cut off.
bool AviWriter::Fail(AviWriteError error) {
    if (m_error != AviWriteError::None) return false;
    m_error = error;
    if (m_parts.empty()) return false;
    Commit(false);
    m_file.Truncate(m_end);
    return false;
}
