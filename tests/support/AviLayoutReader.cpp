#include "tests/support/AviLayoutReader.h"

#include <algorithm>
#include <map>
#include <set>

#include "avi/RiffBytes.h"

namespace {

bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }

// 'NNdc' or 'NNwb'.
bool IsDataId(uint32_t id) {
    const uint32_t kind = id >> 16;
    return IsDigit(uint8_t(id)) && IsDigit(uint8_t(id >> 8)) &&
           (kind == (Fourcc("00dc") >> 16) || kind == (Fourcc("00wb") >> 16));
}

bool IsIndexId(uint32_t id) {
    return (id & 0xFFFF) == (Fourcc("ix00") & 0xFFFF) && IsDigit(uint8_t(id >> 16)) &&
           IsDigit(uint8_t(id >> 24));
}

uint32_t IndexIdOf(int stream) {
    return (Fourcc("ix00") & 0xFFFF) | (uint32_t('0' + stream / 10) << 16) |
           (uint32_t('0' + stream % 10) << 24);
}

std::string At(uint64_t position) { return " at " + std::to_string(position); }

// Reads the structure; records what does not parse in layout.problems.
class Parser {
public:
    explicit Parser(const std::vector<uint8_t>& file) : m_file(file) {}

    AviLayout Parse() {
        if (!Has(0, 12) || U32(0) != Fourcc("RIFF") || U32(8) != Fourcc("AVI ")) {
            Problem("the file does not start with RIFF 'AVI '");
            return m_layout;
        }
        uint64_t next = ReadRiff(0);
        while (Has(next, 12) && U32(next) == Fourcc("RIFF") && U32(next + 8) == Fourcc("AVIX"))
            next = ReadRiff(next);
        m_layout.tailBytes = m_file.size() - next;
        for (size_t i = 0; i < m_layout.streams.size(); ++i) ReadStandardIndexes(int(i));
        return m_layout;
    }

private:
    bool Has(uint64_t pos, uint64_t size) const {
        return pos <= m_file.size() && size <= m_file.size() - pos;
    }
    uint32_t U32(uint64_t pos) const { return Read32(&m_file[pos]); }
    void Problem(const std::string& text) { m_layout.problems.push_back(text); }
    bool IsList(const AviChunkAt& c, uint32_t type) const {
        return c.id == Fourcc("LIST") && c.size >= 4 && U32(c.position + 8) == type;
    }

    // Visits the chunks that fill [begin, end) exactly; stops at one that
    // runs past end. end never lies past the file.
    template <class Visit>
    void Walk(uint64_t begin, uint64_t end, const std::string& where, Visit visit) {
        for (uint64_t pos = begin; pos < end;) {
            if (end - pos < 8) return Problem(where + ": a torn chunk header" + At(pos));
            const AviChunkAt c{U32(pos), pos, U32(pos + 4)};
            const uint64_t next = pos + 8 + c.size + (c.size & 1);
            if (next > end)
                return Problem(where + ": '" + FourccText(c.id) + "'" + At(pos) +
                               " runs past its parent");
            visit(c);
            pos = next;
        }
    }

    // Where a chunk's data ends, its pad byte not counted.
    uint64_t EndOf(const AviChunkAt& c) const { return c.position + 8 + c.size; }

    uint64_t ReadRiff(uint64_t riff) {
        const bool first = riff == 0;
        AviRiffLayout part;
        part.riff = riff;
        part.riffSize = U32(riff + 4);
        part.formType = U32(riff + 8);
        uint64_t end = riff + 8 + part.riffSize;
        if (end > m_file.size()) {
            Problem("RIFF part" + At(riff) + " runs past the end of the file");
            end = m_file.size();
        }
        bool header = false, movi = false;
        Walk(riff + 12, end, "RIFF part" + At(riff), [&](const AviChunkAt& c) {
            if (first && !header && IsList(c, Fourcc("hdrl"))) {
                header = true;
                ReadHeaderList(c);
            } else if (first && header && !movi && IsIndexId(c.id)) {
                part.indexesBeforeMovi.push_back(c);
                m_indexParts[c.position] = int(m_layout.parts.size());
            } else if ((header || !first) && !movi && IsList(c, Fourcc("movi"))) {
                movi = true;
                ReadMovi(c, part);
            } else if (first && movi && !m_layout.hasLegacyIndex && c.id == Fourcc("idx1")) {
                ReadLegacyIndex(c);
            } else if (movi && !(first && m_layout.hasLegacyIndex) &&
                       (IsDataId(c.id) || IsIndexId(c.id))) {
                part.looseChunks.push_back(c);
            } else {
                Problem("unexpected '" + FourccText(c.id) + "'" + At(c.position));
            }
        });
        if (first && !header) Problem("no header list");
        m_layout.parts.push_back(part);
        return end;
    }

    void ReadHeaderList(const AviChunkAt& hdrl) {
        bool main = false, extended = false;
        Walk(hdrl.position + 12, EndOf(hdrl), "hdrl", [&](const AviChunkAt& c) {
            if (!main && c.id == Fourcc("avih")) {
                main = true;
                ReadMainHeader(c);
            } else if (main && !extended && IsList(c, Fourcc("strl"))) {
                ReadStreamList(c);
            } else if (main && !extended && IsList(c, Fourcc("odml"))) {
                extended = true;
                ReadExtendedHeader(c);
            } else {
                Problem("unexpected '" + FourccText(c.id) + "' in hdrl" + At(c.position));
            }
        });
        if (!main || !extended) Problem("hdrl lacks 'avih' or 'odml'");
    }

    void ReadMainHeader(const AviChunkAt& c) {
        if (c.size != 56) return Problem("avih of " + std::to_string(c.size) + " bytes");
        const uint64_t d = c.position + 8;
        AviLayout& l = m_layout;
        l.microSecPerFrame = U32(d);
        l.mainFlags = U32(d + 12);
        l.mainTotalFrames = U32(d + 16);
        l.mainStreams = U32(d + 24);
        l.mainSuggestedSize = U32(d + 28);
        l.width = U32(d + 32);
        l.height = U32(d + 36);
    }

    void ReadStreamList(const AviChunkAt& strl) {
        AviStreamLayout s;
        int seen = 0;
        Walk(strl.position + 12, EndOf(strl), "strl", [&](const AviChunkAt& c) {
            const uint32_t expected[3] = {Fourcc("strh"), Fourcc("strf"), Fourcc("indx")};
            if (seen >= 3 || c.id != expected[seen])
                return Problem("unexpected '" + FourccText(c.id) + "' in strl" + At(c.position));
            if (seen == 0) ReadStreamHeader(c, s);
            if (seen == 1)
                s.format.assign(m_file.begin() + long(c.position + 8),
                                m_file.begin() + long(EndOf(c)));
            if (seen == 2) ReadSuperIndex(c, s);
            ++seen;
        });
        if (seen != 3) Problem("strl" + At(strl.position) + " lacks strh, strf or indx");
        m_layout.streams.push_back(s);
    }

    void ReadStreamHeader(const AviChunkAt& c, AviStreamLayout& s) {
        if (c.size != 56) return Problem("strh of " + std::to_string(c.size) + " bytes");
        const uint64_t d = c.position + 8;
        s.type = U32(d);
        s.handler = U32(d + 4);
        s.flags = U32(d + 8);
        s.scale = U32(d + 20);
        s.rate = U32(d + 24);
        s.start = U32(d + 28);
        s.length = U32(d + 32);
        s.suggestedSize = U32(d + 36);
        s.quality = U32(d + 40);
        s.sampleSize = U32(d + 44);
    }

    void ReadSuperIndex(const AviChunkAt& c, AviStreamLayout& s) {
        const uint64_t d = c.position + 8;
        if (c.size < 24 || Read16(&m_file[d]) != 4 || m_file[d + 2] != 0 || m_file[d + 3] != 0)
            return Problem("indx" + At(c.position) + " is not an index of indexes");
        s.superChunkId = U32(d + 8);
        s.superRoom = (c.size - 24) / 16;
        const uint32_t inUse = U32(d + 4);
        if (inUse > s.superRoom) return Problem("indx" + At(c.position) + " overflows its room");
        for (uint32_t i = 0; i < inUse; ++i) {
            const uint64_t e = d + 24 + uint64_t(i) * 16;
            s.superIndex.push_back({Read64(&m_file[e]), U32(e + 8), U32(e + 12)});
        }
    }

    void ReadExtendedHeader(const AviChunkAt& odml) {
        bool found = false;
        Walk(odml.position + 12, EndOf(odml), "odml", [&](const AviChunkAt& c) {
            if (found || c.id != Fourcc("dmlh") || c.size != 248)
                return Problem("unexpected '" + FourccText(c.id) + "' in odml" + At(c.position));
            found = true;
            m_layout.extendedTotalFrames = U32(c.position + 8);
        });
        if (!found) Problem("odml has no dmlh");
    }

    void ReadMovi(const AviChunkAt& movi, AviRiffLayout& part) {
        part.movi = movi.position;
        part.moviSize = movi.size;
        Walk(movi.position + 12, EndOf(movi), "movi" + At(movi.position), [&](const AviChunkAt& c) {
            if (!IsDataId(c.id) && !IsIndexId(c.id))
                Problem("unexpected '" + FourccText(c.id) + "' in movi" + At(c.position));
            part.chunks.push_back(c);
            if (IsIndexId(c.id)) m_indexParts[c.position] = int(m_layout.parts.size());
        });
    }

    void ReadLegacyIndex(const AviChunkAt& c) {
        m_layout.hasLegacyIndex = true;
        if (c.size % 16) Problem("idx1 of " + std::to_string(c.size) + " bytes");
        for (uint64_t e = c.position + 8; e + 16 <= EndOf(c); e += 16)
            m_layout.legacyIndex.push_back({U32(e), U32(e + 4), U32(e + 8), U32(e + 12)});
    }

    void ReadStandardIndexes(int stream) {
        AviStreamLayout& s = m_layout.streams[size_t(stream)];
        for (size_t k = 0; k < s.superIndex.size(); ++k) {
            const std::string where =
                "stream " + std::to_string(stream) + " super index entry " + std::to_string(k);
            const AviSuperIndexEntry& e = s.superIndex[k];
            if (!Has(e.offset, 32) || U32(e.offset) != IndexIdOf(stream)) {
                Problem(where + " does not lead to 'ix" + std::to_string(stream / 10) +
                        std::to_string(stream % 10) + "'");
                continue;
            }
            const uint32_t size = U32(e.offset + 4);
            if (e.size != uint64_t(size) + 8) Problem(where + " gives the wrong size");
            AviStandardIndex index;
            index.superEntry = int(k);
            if (ReadStandardIndex(e.offset, size, s.superChunkId, where, index))
                s.indexes.push_back(index);
        }
    }

    bool ReadStandardIndex(uint64_t at, uint32_t size, uint32_t chunkId, const std::string& where,
                           AviStandardIndex& index) {
        const uint64_t d = at + 8;
        if (size < 24 || !Has(at, uint64_t(size) + 8) || Read16(&m_file[d]) != 2 ||
            m_file[d + 2] != 0 || m_file[d + 3] != 1 || U32(d + 8) != chunkId) {
            Problem(where + ": no standard index of the stream's chunks" + At(at));
            return false;
        }
        index.position = at;
        index.base = Read64(&m_file[d + 12]);
        index.room = (size - 24) / 8;
        const auto walked = m_indexParts.find(at);
        index.part = walked == m_indexParts.end() ? -1 : walked->second;
        if (index.part < 0) Problem(where + ": its index chunk is no chunk of a RIFF part");
        const uint32_t inUse = U32(d + 4);
        if (inUse > index.room) {
            Problem(where + ": more entries in use than room" + At(at));
            return false;
        }
        for (uint32_t i = 0; i < inUse; ++i) {
            const uint32_t offset = U32(d + 24 + 8 * i), bits = U32(d + 28 + 8 * i);
            if (index.base + offset < 8) Problem(where + ": an entry before the file");
            index.entries.push_back(
                {index.base + offset - 8, bits & 0x7FFFFFFFu, (bits & 0x80000000u) == 0});
        }
        return true;
    }

    const std::vector<uint8_t>& m_file;
    AviLayout m_layout;
    std::map<uint64_t, int> m_indexParts;  // walked standard index chunks and their parts
};

}  // namespace

std::string FourccText(uint32_t id) {
    std::string text;
    for (int i = 0; i < 4; ++i) {
        const char c = char(id >> (8 * i));
        text += c >= 32 && c < 127 ? c : '?';
    }
    return text;
}

uint32_t AviStreamLayout::ChunkId(int stream) const {
    const uint32_t kind = (type == Fourcc("auds") ? Fourcc("00wb") : Fourcc("00dc")) & 0xFFFF0000u;
    return uint32_t('0' + stream / 10) | (uint32_t('0' + stream % 10) << 8) | kind;
}

uint32_t AviStreamLayout::Duration(uint32_t chunkBytes) const {
    if (type != Fourcc("auds")) return 1;
    const uint32_t align = format.size() >= 14 ? Read16(&format[12]) : 0;
    return align ? chunkBytes / align : chunkBytes;
}

std::vector<AviIndexedChunk> AviStreamLayout::Indexed() const {
    std::vector<AviIndexedChunk> all;
    for (const AviStandardIndex& index : indexes)
        all.insert(all.end(), index.entries.begin(), index.entries.end());
    return all;
}

AviLayout ReadAviLayout(const std::vector<uint8_t>& file) {
    AviLayout layout = Parser(file).Parse();
    // idx1 offsets count from the first 'movi' list's form type.
    if (!layout.parts.empty())
        for (AviLegacyEntry& e : layout.legacyIndex) e.position += layout.parts[0].movi + 8;
    return layout;
}

namespace {

// Checks what the parsed fields claim against the chunks they lead to.
class Checker {
public:
    Checker(const AviLayout& layout, AviMoment moment)
        : m_l(layout), m_settled(moment == AviMoment::Settled), m_problems(layout.problems) {
        for (size_t p = 0; p < layout.parts.size(); ++p)
            for (const AviChunkAt& c : layout.parts[p].chunks) m_chunks[c.position] = {c, int(p)};
    }

    std::vector<std::string> Run() {
        CheckStreamHeaders();
        for (size_t i = 0; i < m_l.streams.size(); ++i) CheckStream(int(i));
        CheckTotals();
        CheckLegacyIndex();
        if (m_settled) CheckEverythingIndexed();
        for (size_t p = 0; p < m_l.parts.size(); ++p) CheckRiff(p);
        return m_problems;
    }

private:
    struct Placed {
        AviChunkAt chunk;
        int part;
    };

    void Problem(const std::string& text) { m_problems.push_back(text); }

    // A header field that follows the index: never more than the index
    // holds, and equal once the commit that wrote it is complete.
    void Claim(uint64_t claimed, uint64_t held, const std::string& what) {
        if (claimed > held || (m_settled && claimed != held))
            Problem(what + " says " + std::to_string(claimed) + " where the index holds " +
                    std::to_string(held));
    }

    // A new part claims only its form type until its first commit takes in
    // its 'movi' list, and the part's size grows before the list's does.
    void CheckRiff(size_t p) {
        const AviRiffLayout& part = m_l.parts[p];
        const bool opening = !m_settled && p > 0 && p + 1 == m_l.parts.size() && part.riffSize == 4;
        if (!part.movi && !opening) Problem("RIFF part" + At(part.riff) + " has no 'movi' list");
        if (m_settled && !part.looseChunks.empty())
            Problem("chunks after the 'movi' list" + At(part.movi));
    }

    void CheckStreamHeaders() {
        if (m_l.streams.empty()) return Problem("no streams");
        if (m_l.mainStreams != m_l.streams.size()) Problem("avih counts the wrong streams");
        for (size_t i = 0; i < m_l.streams.size(); ++i) {
            const AviStreamLayout& s = m_l.streams[i];
            const uint32_t type = i == 0 ? Fourcc("vids") : Fourcc("auds");
            if (s.type != type)
                Problem("stream " + std::to_string(i) + " is not " + FourccText(type));
            if (s.superChunkId != s.ChunkId(int(i)))
                Problem("stream " + std::to_string(i) + " indexes '" + FourccText(s.superChunkId) +
                        "'");
            if (m_settled && s.suggestedSize > m_l.mainSuggestedSize)
                Problem("avih suggests less than stream " + std::to_string(i));
        }
    }

    void CheckStream(int stream) {
        const AviStreamLayout& s = m_l.streams[size_t(stream)];
        const std::string name = "stream " + std::to_string(stream);
        bool any = false;
        uint64_t previous = 0;
        for (const AviStandardIndex& index : s.indexes) {
            uint64_t duration = 0;
            for (const AviIndexedChunk& e : index.entries) {
                CheckEntry(stream, index, e);
                if (any && e.position <= previous)
                    Problem(name + ": an index entry out of file order" + At(e.position));
                any = true;
                previous = e.position;
                duration += s.Duration(e.size);
                if (m_settled && e.size > s.suggestedSize)
                    Problem(name + ": a chunk larger than strh suggests" + At(e.position));
            }
            Claim(s.superIndex[size_t(index.superEntry)].duration, duration,
                  name + " super index entry " + std::to_string(index.superEntry) + " duration");
        }
        uint64_t declared = 0;
        for (const AviSuperIndexEntry& e : s.superIndex) declared += e.duration;
        Claim(s.length, declared, name + " strh dwLength");
    }

    void CheckEntry(int stream, const AviStandardIndex& index, const AviIndexedChunk& e) {
        const std::string where =
            "stream " + std::to_string(stream) + " index entry" + At(e.position);
        const auto found = m_chunks.find(e.position);
        if (found == m_chunks.end()) return Problem(where + " names no chunk in a 'movi' list");
        const Placed& p = found->second;
        if (p.chunk.id != m_l.streams[size_t(stream)].ChunkId(stream))
            Problem(where + " names '" + FourccText(p.chunk.id) + "'");
        if (p.chunk.size != e.size) Problem(where + " has the wrong size");
        if (p.part != index.part) Problem(where + " names a chunk of another RIFF part");
    }

    void CheckTotals() {
        if (m_l.streams.empty()) return;
        const AviStreamLayout& video = m_l.streams[0];
        uint64_t firstPart = 0;
        for (const AviStandardIndex& index : video.indexes)
            if (index.part == 0) firstPart += index.entries.size();
        Claim(m_l.mainTotalFrames, firstPart, "avih dwTotalFrames");
        Claim(m_l.extendedTotalFrames, video.length, "dmlh dwTotalFrames");
    }

    void CheckLegacyIndex() {
        const bool flagged = (m_l.mainFlags & 0x10) != 0;
        if (flagged ? !m_l.hasLegacyIndex : m_settled && m_l.hasLegacyIndex)
            Problem("avih's index flag disagrees with idx1");
        if (!m_l.hasLegacyIndex || m_l.parts.empty()) return;
        std::map<uint64_t, bool> keyFrames;
        for (const AviStreamLayout& s : m_l.streams)
            for (const AviIndexedChunk& e : s.Indexed()) keyFrames[e.position] = e.keyFrame;
        std::vector<AviChunkAt> expected;
        for (const AviChunkAt& c : m_l.parts[0].chunks)
            if (IsDataId(c.id)) expected.push_back(c);
        if (m_l.legacyIndex.size() != expected.size())
            Problem("idx1 has " + std::to_string(m_l.legacyIndex.size()) + " entries for " +
                    std::to_string(expected.size()) + " chunks");
        for (size_t i = 0; i < std::min(expected.size(), m_l.legacyIndex.size()); ++i) {
            const AviLegacyEntry& e = m_l.legacyIndex[i];
            const AviChunkAt& c = expected[i];
            const auto key = keyFrames.find(c.position);
            if (e.position != c.position || e.chunkId != c.id || e.size != c.size)
                Problem("idx1 entry " + std::to_string(i) + " misses its chunk" + At(c.position));
            else if ((e.flags & ~0x10u) || key == keyFrames.end() ||
                     key->second != ((e.flags & 0x10) != 0))
                Problem("idx1 entry " + std::to_string(i) + " disagrees with the standard index");
        }
    }

    // Once settled, every stream chunk and every standard index chunk inside
    // the 'movi' lists is reachable from the header.
    void CheckEverythingIndexed() {
        std::set<uint64_t> indexed, registered;
        for (const AviStreamLayout& s : m_l.streams)
            for (const AviStandardIndex& index : s.indexes) {
                registered.insert(index.position);
                for (const AviIndexedChunk& e : index.entries) indexed.insert(e.position);
            }
        for (const auto& [position, placed] : m_chunks) {
            const uint32_t id = placed.chunk.id;
            if (IsDataId(id) && !indexed.count(position))
                Problem("'" + FourccText(id) + "'" + At(position) + " is not indexed");
            if (IsIndexId(id) && !registered.count(position))
                Problem("'" + FourccText(id) + "'" + At(position) + " is in no super index");
        }
        for (const AviRiffLayout& part : m_l.parts)
            for (const AviChunkAt& c : part.indexesBeforeMovi)
                if (!registered.count(c.position))
                    Problem("'" + FourccText(c.id) + "'" + At(c.position) +
                            " is in no super index");
    }

    const AviLayout& m_l;
    const bool m_settled;
    std::vector<std::string> m_problems;
    std::map<uint64_t, Placed> m_chunks;
};

}  // namespace

std::vector<std::string> CheckAviLayout(const std::vector<uint8_t>& file, AviMoment moment) {
    return Checker(ReadAviLayout(file), moment).Run();
}
