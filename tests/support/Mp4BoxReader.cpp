#include "tests/support/Mp4BoxReader.h"

#include <algorithm>
#include <map>

namespace {

constexpr uint32_t Type(const char (&c)[5]) {
    return uint32_t(uint8_t(c[0])) << 24 | uint32_t(uint8_t(c[1])) << 16 |
           uint32_t(uint8_t(c[2])) << 8 | uint8_t(c[3]);
}

// Big-endian reads inside [pos, end); a read past end marks it broken.
struct Cursor {
    const std::vector<uint8_t>* bytes;
    size_t pos, end;
    bool ok = true;

    uint64_t Read(int n) {
        if (!ok || end - pos < size_t(n)) {
            ok = false;
            return 0;
        }
        uint64_t v = 0;
        for (int i = 0; i < n; ++i) v = v << 8 | (*bytes)[pos++];
        return v;
    }
    uint8_t U8() { return uint8_t(Read(1)); }
    uint16_t U16() { return uint16_t(Read(2)); }
    uint32_t U32() { return uint32_t(Read(4)); }
    uint64_t U64() { return Read(8); }
    void Skip(size_t n) {
        if (end - pos < n) ok = false;
        pos = ok ? pos + n : end;
    }
    std::vector<uint8_t> Take(size_t n) {
        if (end - pos < n) ok = false;
        if (!ok) return {};
        pos += n;
        return {bytes->begin() + long(pos - n), bytes->begin() + long(pos)};
    }
};

struct Box {
    uint32_t type = 0;
    size_t at = 0, end = 0;  // the payload
};

class MoovParser {
public:
    MoovParser(const std::vector<uint8_t>& moov, Mp4FileLayout& out) : m_moov(moov), m_out(out) {}
    void Parse();

private:
    void Problem(const std::string& where, const std::string& what) {
        m_out.problems.push_back(where + ": " + what);
    }
    Cursor At(const Box& b) { return Cursor{&m_moov, b.at, b.end}; }
    // A full box's payload after version and flags.
    Cursor Full(const Box& b, uint8_t& version) {
        Cursor c = At(b);
        version = c.U8();
        c.Skip(3);
        return c;
    }
    void Done(const Cursor& c, const std::string& where) {
        if (!c.ok)
            Problem(where, "cut short");
        else if (c.pos != c.end)
            Problem(where, std::to_string(c.end - c.pos) + " bytes left over");
    }
    std::vector<Box> Children(size_t from, size_t end, const std::string& where);
    // The children in this order; optional ones may be missing.
    std::map<uint32_t, Box> Expect(const std::vector<Box>& kids,
                                   const std::vector<std::pair<uint32_t, bool>>& order,
                                   const std::string& where);
    void Track(const Box& trak);
    void SampleEntry(const Box& stsd, Mp4TrackLayout& t, const std::string& where);
    void AudioDescriptors(Cursor c, Mp4TrackLayout& t, const std::string& where);
    void Tables(std::map<uint32_t, Box>& stbl, Mp4TrackLayout& t, const std::string& where);

    const std::vector<uint8_t>& m_moov;
    Mp4FileLayout& m_out;
};

std::vector<Box> MoovParser::Children(size_t from, size_t end, const std::string& where) {
    std::vector<Box> kids;
    while (from < end) {
        Cursor c{&m_moov, from, end};
        const uint32_t size = c.U32();
        const uint32_t type = c.U32();
        if (!c.ok || size < 8 || size > end - from) {
            Problem(where, "a child's size runs past its parent");
            break;
        }
        kids.push_back({type, from + 8, from + size});
        from += size;
    }
    return kids;
}

std::map<uint32_t, Box> MoovParser::Expect(const std::vector<Box>& kids,
                                           const std::vector<std::pair<uint32_t, bool>>& order,
                                           const std::string& where) {
    std::map<uint32_t, Box> found;
    size_t next = 0;
    for (const Box& kid : kids) {
        size_t i = next;
        while (i < order.size() && order[i].first != kid.type) ++i;
        if (i == order.size()) {
            Problem(where, "unexpected or misplaced " + BoxTypeText(kid.type));
            continue;
        }
        for (size_t j = next; j < i; ++j)
            if (order[j].second) Problem(where, "no " + BoxTypeText(order[j].first));
        found[kid.type] = kid;
        next = i + 1;
    }
    for (size_t j = next; j < order.size(); ++j)
        if (order[j].second) Problem(where, "no " + BoxTypeText(order[j].first));
    return found;
}

void MoovParser::Parse() {
    const std::vector<Box> kids = Children(8, m_moov.size(), "moov");
    if (kids.empty() || kids[0].type != Type("mvhd")) {
        Problem("moov", "mvhd not first");
        return;
    }
    uint8_t version = 0;
    Cursor c = Full(kids[0], version);
    c.Skip(version ? 16 : 8);
    m_out.movieTimescale = c.U32();
    m_out.movieDuration = version ? c.U64() : c.U32();
    c.Skip(4 + 2 + 10 + 36 + 24);
    m_out.nextTrack = c.U32();
    Done(c, "mvhd");
    for (size_t i = 1; i < kids.size(); ++i) {
        if (kids[i].type == Type("trak"))
            Track(kids[i]);
        else
            Problem("moov", "unexpected " + BoxTypeText(kids[i].type));
    }
}

void MoovParser::Track(const Box& trak) {
    const std::string where = "trak " + std::to_string(m_out.tracks.size() + 1);
    Mp4TrackLayout t;
    auto boxes = Expect(Children(trak.at, trak.end, where),
                        {{Type("tkhd"), true}, {Type("edts"), false}, {Type("mdia"), true}}, where);
    uint8_t version = 0;
    Cursor c = Full(boxes[Type("tkhd")], version);
    c.Skip(version ? 16 : 8);
    t.id = c.U32();
    c.Skip(4);
    t.trackDuration = version ? c.U64() : c.U32();
    c.Skip(8 + 8 + 36);
    t.width = c.U32() >> 16;
    t.height = c.U32() >> 16;
    Done(c, where + " tkhd");
    if (boxes.count(Type("edts"))) {
        const Box& edts = boxes[Type("edts")];
        auto e =
            Expect(Children(edts.at, edts.end, where), {{Type("elst"), true}}, where + " edts");
        Cursor l = Full(e[Type("elst")], version);
        if (l.U32() != 1) Problem(where, "elst: not one entry");
        t.hasEdit = true;
        t.editDuration = version ? l.U64() : l.U32();
        t.editMediaTime = version ? int64_t(l.U64()) : int32_t(l.U32());
        if (l.U32() != 0x00010000) Problem(where, "elst: rate not 1");
        Done(l, where + " elst");
    }
    const Box& mdiaBox = boxes[Type("mdia")];
    auto mdia = Expect(Children(mdiaBox.at, mdiaBox.end, where),
                       {{Type("mdhd"), true}, {Type("hdlr"), true}, {Type("minf"), true}}, where);
    c = Full(mdia[Type("mdhd")], version);
    c.Skip(version ? 16 : 8);
    t.timescale = c.U32();
    t.mediaDuration = version ? c.U64() : c.U32();
    c.Skip(4);
    Done(c, where + " mdhd");
    c = Full(mdia[Type("hdlr")], version);
    c.Skip(4);
    t.handler = c.U32();
    c.Skip(12);
    while (c.ok && c.pos < c.end && c.U8() != 0) {
    }
    Done(c, where + " hdlr");
    const Box& minfBox = mdia[Type("minf")];
    auto minf = Expect(
        Children(minfBox.at, minfBox.end, where),
        {{Type("vmhd"), false}, {Type("smhd"), false}, {Type("dinf"), true}, {Type("stbl"), true}},
        where + " minf");
    const uint32_t header = t.handler == Type("vide") ? Type("vmhd") : Type("smhd");
    if (minf.size() != 3 || !minf.count(header))
        Problem(where, "media header does not fit the handler");
    const Box& dinf = minf[Type("dinf")];
    auto dref = Expect(Children(dinf.at, dinf.end, where), {{Type("dref"), true}}, where + " dinf");
    c = Full(dref[Type("dref")], version);
    if (c.U32() != 1 || c.U32() != 12 || c.U32() != Type("url ") || c.U32() != 1)
        Problem(where, "dref: not one self-contained reference");
    Done(c, where + " dref");
    const Box& stblBox = minf[Type("stbl")];
    auto stbl = Expect(Children(stblBox.at, stblBox.end, where),
                       {{Type("stsd"), true},
                        {Type("stts"), true},
                        {Type("ctts"), false},
                        {Type("stss"), false},
                        {Type("stsz"), true},
                        {Type("stsc"), true},
                        {Type("stco"), false},
                        {Type("co64"), false}},
                       where + " stbl");
    SampleEntry(stbl[Type("stsd")], t, where);
    Tables(stbl, t, where);
    m_out.tracks.push_back(std::move(t));
}

void MoovParser::SampleEntry(const Box& stsd, Mp4TrackLayout& t, const std::string& where) {
    uint8_t version = 0;
    Cursor c = Full(stsd, version);
    if (c.U32() != 1) Problem(where, "stsd: not one entry");
    auto entries = Children(c.pos, stsd.end, where + " stsd");
    if (entries.size() != 1) return;
    const Box& e = entries[0];
    t.entryType = e.type;
    c = At(e);
    c.Skip(6);
    if (c.U16() != 1) Problem(where, "sample entry: not the first data reference");
    if (e.type == Type("avc1")) {
        if (t.handler != Type("vide")) Problem(where, "avc1 in a track that is not video");
        c.Skip(16);
        t.entryWidth = c.U16();
        t.entryHeight = c.U16();
        c.Skip(4 + 4 + 4 + 2 + 32 + 2 + 2);
        auto kids = Expect(Children(c.pos, e.end, where),
                           {{Type("avcC"), true}, {Type("pasp"), false}}, where + " avc1");
        Cursor a = At(kids[Type("avcC")]);
        t.avcConfiguration = a.Take(a.end - a.pos);
        if (kids.count(Type("pasp"))) {
            Cursor p = At(kids[Type("pasp")]);
            t.squarePixels = p.U32() == 1 && p.U32() == 1;
            Done(p, where + " pasp");
        }
    } else if (e.type == Type("mp4a")) {
        if (t.handler != Type("soun")) Problem(where, "mp4a in a track that is not sound");
        c.Skip(8);
        t.channels = c.U16();
        c.Skip(2 + 4);
        t.sampleRate = c.U32() >> 16;
        auto kids = Expect(Children(c.pos, e.end, where), {{Type("esds"), true}}, where + " mp4a");
        uint8_t v = 0;
        AudioDescriptors(Full(kids[Type("esds")], v), t, where + " esds");
    } else {
        Problem(where, "unknown sample entry " + BoxTypeText(e.type));
    }
}

// A descriptor's tag and expandable size; the cursor then holds just its body.
Cursor Descriptor(Cursor& c, uint8_t tag, bool& ok) {
    ok = c.U8() == tag;
    size_t size = 0;
    for (int i = 0; i < 4; ++i) {
        const uint8_t b = c.U8();
        size = size << 7 | (b & 0x7F);
        if (!(b & 0x80)) break;
    }
    Cursor body{c.bytes, c.pos, std::min(c.end, c.pos + size)};
    ok = ok && c.ok && size <= c.end - c.pos;
    c.Skip(size);
    return body;
}

void MoovParser::AudioDescriptors(Cursor c, Mp4TrackLayout& t, const std::string& where) {
    bool ok[4];
    Cursor es = Descriptor(c, 3, ok[0]);
    Done(c, where);
    es.Skip(2);
    if (es.U8() != 0) Problem(where, "ES descriptor flags");
    Cursor config = Descriptor(es, 4, ok[1]);
    t.objectType = config.U8();
    const uint8_t stream = config.U8();
    t.streamType = stream >> 2;
    if ((stream & 3) != 1) Problem(where, "stream type byte's low bits");
    t.bufferBytes = uint32_t(config.Read(3));
    t.maxBitrate = config.U32();
    t.averageBitrate = config.U32();
    Cursor specific = Descriptor(config, 5, ok[2]);
    t.audioSpecificConfig = specific.Take(specific.end - specific.pos);
    Done(config, where + " decoder configuration");
    Cursor sl = Descriptor(es, 6, ok[3]);
    if (sl.U8() != 2) Problem(where, "sync layer not the predefined one of MP4");
    Done(sl, where + " sync layer");
    Done(es, where + " ES descriptor");
    if (!(ok[0] && ok[1] && ok[2] && ok[3])) Problem(where, "a descriptor's tag or size");
}

void MoovParser::Tables(std::map<uint32_t, Box>& stbl, Mp4TrackLayout& t,
                        const std::string& where) {
    uint8_t version = 0;
    Cursor c = Full(stbl[Type("stsz")], version);
    const uint32_t fixed = c.U32();
    const uint32_t count = c.U32();
    t.samples.resize(count);
    for (Mp4SampleAt& s : t.samples) s.size = fixed ? fixed : c.U32();
    Done(c, where + " stsz");

    c = Full(stbl[Type("stts")], version);
    uint64_t n = 0, duration = 0;
    for (uint32_t runs = c.U32(); c.ok && runs; --runs) {
        const uint32_t k = c.U32(), d = c.U32();
        for (uint32_t i = 0; i < k && c.ok; ++i, ++n)
            if (n < count) t.samples[n].duration = d;
        duration += uint64_t(k) * d;
    }
    Done(c, where + " stts");
    if (n != count)
        Problem(where, "stts counts " + std::to_string(n) + " samples of " + std::to_string(count));
    if (duration != t.mediaDuration) Problem(where, "mdhd duration is not the samples'");

    t.hasCtts = stbl.count(Type("ctts")) > 0;
    if (t.hasCtts) {
        c = Full(stbl[Type("ctts")], version);
        n = 0;
        for (uint32_t runs = c.U32(); c.ok && runs; --runs) {
            const uint32_t k = c.U32(), o = c.U32();
            if (version == 0 && o > INT32_MAX)
                Problem(where, "ctts version 0 with a negative offset");
            for (uint32_t i = 0; i < k && c.ok; ++i, ++n)
                if (n < count) t.samples[n].compositionOffset = int32_t(o);
        }
        Done(c, where + " ctts");
        if (n != count) Problem(where, "ctts counts " + std::to_string(n) + " samples");
    }

    t.hasStss = stbl.count(Type("stss")) > 0;
    if (t.hasStss) {
        c = Full(stbl[Type("stss")], version);
        uint32_t last = 0;
        for (uint32_t k = c.U32(); c.ok && k; --k) {
            const uint32_t s = c.U32();
            if (s <= last || s > count)
                Problem(where, "stss: sample " + std::to_string(s));
            else
                t.samples[s - 1].keyFrame = true;
            last = s;
        }
        Done(c, where + " stss");
    } else {
        for (Mp4SampleAt& s : t.samples) s.keyFrame = true;
    }

    t.co64 = stbl.count(Type("co64")) > 0;
    if (t.co64 == (stbl.count(Type("stco")) > 0)) Problem(where, "not one of stco and co64");
    c = Full(stbl[t.co64 ? Type("co64") : Type("stco")], version);
    std::vector<uint64_t> chunks(c.U32());
    for (uint64_t& offset : chunks) offset = t.co64 ? c.U64() : c.U32();
    Done(c, where + " chunk offsets");
    t.chunks = uint32_t(chunks.size());

    c = Full(stbl[Type("stsc")], version);
    std::vector<uint32_t> perChunk(chunks.size(), 0);
    uint32_t entries = c.U32(), previous = 0, samples = 0;
    for (uint32_t e = 0; e < entries && c.ok; ++e) {
        const uint32_t first = c.U32(), k = c.U32(), description = c.U32();
        if ((e == 0 && first != 1) || first <= previous || first > chunks.size() ||
            description != 1)
            Problem(where, "stsc entry " + std::to_string(e));
        for (uint32_t i = first ? first - 1 : 0; i < perChunk.size(); ++i) perChunk[i] = k;
        previous = first;
    }
    Done(c, where + " stsc");
    n = 0;
    for (size_t i = 0; i < chunks.size(); ++i) {
        uint64_t at = chunks[i];
        for (uint32_t k = 0; k < perChunk[i] && n < count; ++k, ++n) {
            t.samples[n].offset = at;
            t.samples[n].chunk = uint32_t(i);
            at += t.samples[n].size;
        }
        samples += perChunk[i];
    }
    if (samples != count) Problem(where, "chunks hold " + std::to_string(samples) + " samples");
}

}  // namespace

std::string BoxTypeText(uint32_t type) {
    std::string s;
    for (int shift = 24; shift >= 0; shift -= 8) s += char(type >> shift);
    return "'" + s + "'";
}

namespace {

void CheckTimes(Mp4FileLayout& out) {
    uint64_t longest = 0;
    for (const Mp4TrackLayout& t : out.tracks) {
        const std::string where = "track " + std::to_string(t.id);
        if (t.timescale == 0 || out.movieTimescale == 0) {
            out.problems.push_back(where + ": no timescale");
            continue;
        }
        const uint64_t shown =
            (t.mediaDuration * out.movieTimescale + t.timescale / 2) / t.timescale;
        if (t.trackDuration != shown) out.problems.push_back(where + ": tkhd duration");
        if (t.hasEdit && t.editDuration != shown) out.problems.push_back(where + ": edit duration");
        longest = std::max(longest, t.trackDuration);
    }
    if (out.movieDuration != longest)
        out.problems.push_back("mvhd duration is not the longest track's");
}

// Every sample inside the media data, none overlapping another.
void CheckSamplesInMedia(Mp4FileLayout& out) {
    std::vector<std::pair<uint64_t, uint64_t>> ranges;
    for (const Mp4TrackLayout& t : out.tracks)
        for (const Mp4SampleAt& s : t.samples) {
            if (s.offset < out.dataStart || s.offset + s.size > out.dataEnd)
                out.problems.push_back("track " + std::to_string(t.id) + ": a sample outside mdat");
            ranges.push_back({s.offset, s.offset + s.size});
        }
    std::sort(ranges.begin(), ranges.end());
    for (size_t i = 1; i < ranges.size(); ++i)
        if (ranges[i].first < ranges[i - 1].second) {
            out.problems.push_back("samples overlap at " + std::to_string(ranges[i].first));
            break;
        }
}

}  // namespace

Mp4FileLayout ReadMp4Layout(OutputFile& file, uint64_t fileSize) {
    Mp4FileLayout out;
    std::vector<uint8_t> moov;
    for (uint64_t at = 0; at < fileSize;) {
        uint8_t h[16];
        if (fileSize - at < 8 || !file.ReadAt(at, h, 8)) {
            out.problems.push_back("a box header cut short at " + std::to_string(at));
            break;
        }
        uint64_t size = uint64_t(h[0]) << 24 | h[1] << 16 | h[2] << 8 | h[3];
        const uint32_t type = uint32_t(uint64_t(h[4]) << 24 | h[5] << 16 | h[6] << 8 | h[7]);
        uint32_t header = 8;
        if (size == 1 && file.ReadAt(at + 8, h + 8, 8)) {
            header = 16;
            size = 0;
            for (int i = 8; i < 16; ++i) size = size << 8 | h[i];
        }
        if (size == 0) out.problems.push_back(BoxTypeText(type) + " runs to the end of the file");
        if (size < header || size > fileSize - at) {
            out.problems.push_back(BoxTypeText(type) + "'s size runs past the file");
            break;
        }
        out.topBoxes.push_back(type);
        if (type == Type("moov")) {
            out.moovAt = at;
            moov.resize(size_t(size));
            if (!file.ReadAt(at, moov.data(), moov.size()))
                out.problems.push_back("moov unreadable");
        } else if (type == Type("mdat")) {
            out.mdatAt = at;
            out.mdatHeaderBytes = header;
            out.dataStart = at + header;
            out.dataEnd = at + size;
        } else if (type == Type("ftyp")) {
            std::vector<uint8_t> ftyp(size_t(size - 8));
            file.ReadAt(at + 8, ftyp.data(), ftyp.size());
            for (size_t i = 8; i + 4 <= ftyp.size(); i += 4)
                out.brands.push_back(uint32_t(ftyp[i]) << 24 | ftyp[i + 1] << 16 |
                                     ftyp[i + 2] << 8 | ftyp[i + 3]);
        } else if (type != Type("free")) {
            out.problems.push_back("unexpected top-level box " + BoxTypeText(type));
        }
        at += size;
    }
    const auto count = [&](const char(&t)[5]) {
        return std::count(out.topBoxes.begin(), out.topBoxes.end(), Type(t));
    };
    if (out.topBoxes.empty() || out.topBoxes[0] != Type("ftyp"))
        out.problems.push_back("ftyp not first");
    if (count("moov") != 1 || count("mdat") != 1)
        out.problems.push_back("not one moov and one mdat");
    else if (out.moovAt > out.mdatAt)
        out.problems.push_back("moov after mdat");
    if (!moov.empty()) MoovParser(moov, out).Parse();
    CheckTimes(out);
    CheckSamplesInMedia(out);
    return out;
}
