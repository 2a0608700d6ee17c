#include "mp4/Mp4Fragment.h"

#include "mp4/Mp4Bytes.h"

namespace {

constexpr uint32_t DefaultBaseIsMoof = 0x020000;  // tfhd: offsets count from 'moof'
constexpr uint32_t DataOffset = 0x001, SampleDuration = 0x100, SampleSize = 0x200,
                   SampleFlags = 0x400;  // trun: the fields present
constexpr uint32_t MdatHeaderBytes = 8;

// Returns where the run's data offset goes: it is known once 'moof' is.
size_t PutTrackFragment(Mp4Bytes& b, const Mp4TrackRun& r) {
    const size_t traf = b.Open(BoxType("traf"));
    const size_t tfhd = b.OpenFull(BoxType("tfhd"), 0, DefaultBaseIsMoof);
    b.U32(r.trackId);
    b.Close(tfhd);
    const size_t tfdt = b.OpenFull(BoxType("tfdt"), 1, 0);
    b.U64(r.baseTime);
    b.Close(tfdt);
    const uint32_t fields =
        DataOffset | SampleDuration | SampleSize | (r.sampleFlags ? SampleFlags : 0);
    const size_t trun = b.OpenFull(BoxType("trun"), 0, fields);
    b.U32(uint32_t(r.samples.size()));
    const size_t dataOffset = b.Size();
    b.U32(0);
    for (const Mp4Sample& s : r.samples) {
        b.U32(s.duration);
        b.U32(s.size);
        if (r.sampleFlags) b.U32(s.keyFrame ? Mp4SyncSample : Mp4NonSyncSample);
    }
    b.Close(trun);
    b.Close(traf);
    return dataOffset;
}

}  // namespace

std::vector<uint8_t> FragmentHead(uint32_t sequence, const std::vector<Mp4TrackRun>& runs) {
    Mp4Bytes b;
    const size_t moof = b.Open(BoxType("moof"));
    const size_t mfhd = b.OpenFull(BoxType("mfhd"), 0, 0);
    b.U32(sequence);
    b.Close(mfhd);
    std::vector<size_t> dataOffsets;
    for (const Mp4TrackRun& r : runs) dataOffsets.push_back(PutTrackFragment(b, r));
    b.Close(moof);
    uint64_t offset = b.Size() + MdatHeaderBytes;
    for (size_t i = 0; i < runs.size(); ++i) {
        b.Set32(dataOffsets[i], uint32_t(offset));
        for (const Mp4Sample& s : runs[i].samples) offset += s.size;
    }
    b.U32(uint32_t(offset - b.Size()));
    b.U32(BoxType("mdat"));
    return b.Data();
}

std::vector<uint8_t> RandomAccessBox(const std::vector<Mp4TrackAccess>& tracks) {
    Mp4Bytes b;
    const size_t mfra = b.Open(BoxType("mfra"));
    for (const Mp4TrackAccess& t : tracks) {
        const size_t tfra = b.OpenFull(BoxType("tfra"), 1, 0);
        b.U32(t.trackId);
        b.U32(0x3F);  // traf, trun and sample numbers in four bytes each
        b.U32(uint32_t(t.points.size()));
        for (const Mp4AccessPoint& p : t.points) {
            b.U64(p.time);
            b.U64(p.moofOffset);
            b.U32(p.traf);
            b.U32(1);  // the one 'trun' of each 'traf'
            b.U32(p.sample);
        }
        b.Close(tfra);
    }
    const size_t mfro = b.OpenFull(BoxType("mfro"), 0, 0);
    b.U32(uint32_t(b.Size() + 4 - mfra));  // 'mfro' ends 'mfra'
    b.Close(mfro);
    b.Close(mfra);
    return b.Data();
}
