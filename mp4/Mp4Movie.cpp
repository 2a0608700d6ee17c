#include "mp4/Mp4Movie.h"

#include <algorithm>
#include <initializer_list>

#include "mp4/Mp4Bytes.h"
#include "mp4/Mp4Fragment.h"

namespace {

constexpr uint32_t Unity = 0x00010000;  // 16.16

uint64_t InMovieTime(uint64_t duration, uint32_t timescale) {
    return (duration * Mp4MovieTimescale + timescale / 2) / timescale;
}

uint64_t MediaDuration(const Mp4TrackInfo& t) {
    return t.samples ? t.samples->Duration() : t.duration;
}

// Where the track's shown time starts in its media: at its first
// presentation, past what a sound encoder primes its output with.
uint64_t ShownStart(const Mp4TrackInfo& t) {
    const int64_t first = t.samples ? t.samples->FirstPresentation() : 0;
    return uint64_t(std::max<int64_t>(first, 0)) + t.skip;
}

// The time the track shows: every sample's time (reordered frames are
// shown as long as they last), less what the encoder primed.
uint64_t ShownDuration(const Mp4TrackInfo& t) {
    const uint64_t media = MediaDuration(t);
    return InMovieTime(media > t.skip ? media - t.skip : 0, t.timescale);
}

// 64-bit durations when they need them, or always for a box that is
// rewritten in place with its final durations.
bool Wide(uint64_t duration, bool always) { return always || duration > UINT32_MAX; }

void PutMatrix(Mp4Bytes& b) {
    const uint32_t matrix[9] = {Unity, 0, 0, 0, Unity, 0, 0, 0, 0x40000000};
    for (uint32_t v : matrix) b.U32(v);
}

// Creation and modification times (left at zero), the middle field (a
// timescale, or a track id followed by a reserved word), then the duration;
// the times and the duration need 64 bits in version 1.
void PutTimes(Mp4Bytes& b, bool wide, uint32_t middle, uint64_t duration, bool reserved = false) {
    if (wide) {
        b.U64(0);
        b.U64(0);
    } else {
        b.U32(0);
        b.U32(0);
    }
    b.U32(middle);
    if (reserved) b.U32(0);
    if (wide)
        b.U64(duration);
    else
        b.U32(uint32_t(duration));
}

void PutMovieHeader(Mp4Bytes& b, uint64_t duration, uint32_t nextTrack, bool alwaysWide) {
    const bool wide = Wide(duration, alwaysWide);
    const size_t box = b.OpenFull(BoxType("mvhd"), wide, 0);
    PutTimes(b, wide, Mp4MovieTimescale, duration);
    b.U32(Unity);   // rate
    b.U16(0x0100);  // volume
    b.Zeros(10);
    PutMatrix(b);
    b.Zeros(24);
    b.U32(nextTrack);
    b.Close(box);
}

void PutTrackHeader(Mp4Bytes& b, const Mp4TrackInfo& t, bool alwaysWide) {
    const uint64_t duration = ShownDuration(t);
    const bool wide = Wide(duration, alwaysWide);
    const size_t box = b.OpenFull(BoxType("tkhd"), wide, 3);  // enabled, in the movie
    PutTimes(b, wide, t.id, duration, true);
    b.Zeros(8);
    b.U16(0);  // layer
    b.U16(0);  // alternate group
    b.U16(t.video ? 0 : 0x0100);
    b.U16(0);
    PutMatrix(b);
    b.U32(t.width << 16);
    b.U32(t.height << 16);
    b.Close(box);
}

// Shows the media from its start, when that is not zero. alwaysWide: the
// box is rewritten in place with its final duration.
void PutEditList(Mp4Bytes& b, const Mp4TrackInfo& t, bool alwaysWide) {
    const uint64_t start = ShownStart(t);
    if (start == 0) return;
    const uint64_t duration = ShownDuration(t);
    const bool wide = alwaysWide || duration > UINT32_MAX || start > INT32_MAX;
    const size_t edts = b.Open(BoxType("edts"));
    const size_t elst = b.OpenFull(BoxType("elst"), wide, 0);
    b.U32(1);
    if (wide) {
        b.U64(duration);
        b.U64(uint64_t(start));
    } else {
        b.U32(uint32_t(duration));
        b.U32(uint32_t(start));
    }
    b.U16(1);  // rate 1.0
    b.U16(0);
    b.Close(elst);
    b.Close(edts);
}

void PutMediaHeader(Mp4Bytes& b, const Mp4TrackInfo& t, bool alwaysWide) {
    const uint64_t duration = MediaDuration(t);
    const bool wide = Wide(duration, alwaysWide);
    const size_t box = b.OpenFull(BoxType("mdhd"), wide, 0);
    PutTimes(b, wide, t.timescale, duration);
    b.U16(0x55C4);  // language 'und'
    b.U16(0);
    b.Close(box);
}

void PutHandler(Mp4Bytes& b, bool video) {
    const size_t box = b.OpenFull(BoxType("hdlr"), 0, 0);
    b.U32(0);
    b.U32(video ? BoxType("vide") : BoxType("soun"));
    b.Zeros(12);
    for (const char* c = video ? "VideoHandler" : "SoundHandler"; *c; ++c) b.U8(uint8_t(*c));
    b.U8(0);
    b.Close(box);
}

void PutMediaInformation(Mp4Bytes& b, const Mp4TrackInfo& t, uint64_t dataStart, bool co64) {
    const size_t minf = b.Open(BoxType("minf"));
    if (t.video) {
        const size_t vmhd = b.OpenFull(BoxType("vmhd"), 0, 1);
        b.Zeros(8);  // copy mode, no colour
        b.Close(vmhd);
    } else {
        const size_t smhd = b.OpenFull(BoxType("smhd"), 0, 0);
        b.Zeros(4);  // centred
        b.Close(smhd);
    }
    const size_t dinf = b.Open(BoxType("dinf"));
    const size_t dref = b.OpenFull(BoxType("dref"), 0, 0);
    b.U32(1);
    b.Close(b.OpenFull(BoxType("url "), 0, 1));  // the data is in this file
    b.Close(dref);
    b.Close(dinf);
    const size_t stbl = b.Open(BoxType("stbl"));
    const size_t stsd = b.OpenFull(BoxType("stsd"), 0, 0);
    b.U32(1);
    b.Append(t.sampleEntry);
    b.Close(stsd);
    static const Mp4SampleTable none;  // a film in fragments: the samples are in 'moof' boxes
    (t.samples ? *t.samples : none).AppendBoxes(b, dataStart, co64);
    b.Close(stbl);
    b.Close(minf);
}

void PutTrack(Mp4Bytes& b, const Mp4TrackInfo& t, uint64_t dataStart, bool co64, bool alwaysWide) {
    const size_t trak = b.Open(BoxType("trak"));
    PutTrackHeader(b, t, alwaysWide);
    PutEditList(b, t, alwaysWide);
    const size_t mdia = b.Open(BoxType("mdia"));
    PutMediaHeader(b, t, alwaysWide);
    PutHandler(b, t.video);
    PutMediaInformation(b, t, dataStart, co64);
    b.Close(mdia);
    b.Close(trak);
}

// The fragments' defaults: 'mehd' with the whole film's duration, and a
// 'trex' a track whose samples, unless a fragment says otherwise, are key
// frames only in a sound track.
void PutMovieExtends(Mp4Bytes& b, uint64_t duration, const std::vector<Mp4TrackInfo>& tracks) {
    const size_t mvex = b.Open(BoxType("mvex"));
    const size_t mehd = b.OpenFull(BoxType("mehd"), 1, 0);
    b.U64(duration);
    b.Close(mehd);
    for (const Mp4TrackInfo& t : tracks) {
        const size_t trex = b.OpenFull(BoxType("trex"), 0, 0);
        b.U32(t.id);
        b.U32(1);  // the one sample description
        b.U32(0);  // duration and size: in every 'trun'
        b.U32(0);
        b.U32(t.video ? Mp4NonSyncSample : Mp4SyncSample);
        b.Close(trex);
    }
    b.Close(mvex);
}

std::vector<uint8_t> Movie(const std::vector<Mp4TrackInfo>& tracks, uint64_t dataStart, bool co64,
                           bool fragmented) {
    uint64_t duration = 0;
    uint32_t nextTrack = 1;
    for (const Mp4TrackInfo& t : tracks) {
        duration = std::max(duration, ShownDuration(t));
        nextTrack = std::max(nextTrack, t.id + 1);
    }
    Mp4Bytes b;
    const size_t moov = b.Open(BoxType("moov"));
    PutMovieHeader(b, duration, nextTrack, fragmented);
    for (const Mp4TrackInfo& t : tracks) PutTrack(b, t, dataStart, co64, fragmented);
    if (fragmented) PutMovieExtends(b, duration, tracks);
    b.Close(moov);
    return b.Data();
}

void PutFileType(Mp4Bytes& b, std::initializer_list<uint32_t> brands) {
    const size_t box = b.Open(BoxType("ftyp"));
    b.U32(BoxType("isom"));
    b.U32(0x200);  // minor version
    for (uint32_t brand : brands) b.U32(brand);
    b.Close(box);
}

}  // namespace

std::vector<uint8_t> FileTypeBox() {
    Mp4Bytes b;
    PutFileType(b, {BoxType("isom"), BoxType("iso2"), BoxType("avc1"), BoxType("mp41")});
    return b.Data();
}

std::vector<uint8_t> FragmentedFileTypeBox() {
    Mp4Bytes b;  // iso6: fragments with 'tfdt' and a base at 'moof'
    PutFileType(b, {BoxType("isom"), BoxType("iso6"), BoxType("avc1"), BoxType("mp41")});
    return b.Data();
}

std::vector<uint8_t> MovieBox(const std::vector<Mp4TrackInfo>& tracks, uint64_t dataStart,
                              bool co64) {
    return Movie(tracks, dataStart, co64, false);
}

std::vector<uint8_t> FragmentedMovieBox(const std::vector<Mp4TrackInfo>& tracks) {
    return Movie(tracks, 0, false, true);
}
