#include "tests/support/AnnexBStream.h"

#include "mp4/AvcBits.h"

namespace {

struct Nal {
    const uint8_t* begin;  // its start code
    const uint8_t* unit;
    size_t size;
};

std::vector<Nal> SplitUnits(const std::vector<uint8_t>& d) {
    std::vector<Nal> nals;
    for (size_t i = 0; i + 3 <= d.size(); ++i) {
        if (d[i] || d[i + 1] || d[i + 2] != 1) continue;
        const size_t begin = i > 0 && d[i - 1] == 0 ? i - 1 : i;
        if (!nals.empty()) nals.back().size = size_t(d.data() + begin - nals.back().unit);
        nals.push_back({d.data() + begin, d.data() + i + 3, 0});
        i += 2;
    }
    if (!nals.empty()) nals.back().size = size_t(d.data() + d.size() - nals.back().unit);
    return nals;
}

struct SequenceFields {
    uint32_t frameNumBits = 0, pocType = 0, pocLsbBits = 0;
    bool frameMbsOnly = true;
};

bool ReadSequenceFields(const Nal& n, SequenceFields& f) {
    AvcBits b(n.unit, n.size);
    const uint32_t profile = b.Bits(8);
    b.Bits(16);
    b.Ue();
    if (profile == 100 || profile == 110 || profile == 122 || profile == 244) {
        if (b.Ue() == 3) b.Bits(1);
        b.Ue();
        b.Ue();
        b.Bits(1);
        if (b.Bits(1)) return false;  // scaling matrices
    }
    f.frameNumBits = b.Ue() + 4;
    f.pocType = b.Ue();
    if (f.pocType == 0) f.pocLsbBits = b.Ue() + 4;
    if (f.pocType == 1) return false;
    b.Ue();
    b.Bits(1);
    b.Ue();
    b.Ue();
    f.frameMbsOnly = b.Bits(1);
    return b.Ok() && f.frameMbsOnly;
}

// The slice's first macroblock and its picture order count's low bits.
bool ReadSliceHeader(const Nal& n, const SequenceFields& f, uint32_t& firstMb, uint32_t& pocLsb) {
    AvcBits b(n.unit, n.size);
    firstMb = b.Ue();
    b.Ue();
    b.Ue();
    b.Bits(int(f.frameNumBits));
    if ((n.unit[0] & 0x1F) == 5) b.Ue();
    pocLsb = f.pocType == 0 ? b.Bits(int(f.pocLsbBits)) : 0;
    return b.Ok();
}

}  // namespace

bool ParseAnnexBStream(const std::vector<uint8_t>& data, AvcStream& out) {
    out = {};
    SequenceFields fields;
    const uint8_t* start = nullptr;  // of the unit being gathered
    bool hasSlice = false;
    int32_t pocMsb = 0, prevLsb = 0, decodeInRun = 0;
    const auto close = [&](const uint8_t* end) {
        if (hasSlice) out.units.back().bytes.assign(start, end);
    };
    for (const Nal& n : SplitUnits(data)) {
        const int type = n.unit[0] & 0x1F;
        const bool slice = type == 1 || type == 5;
        uint32_t firstMb = 0, lsb = 0;
        if (type == 7 && out.sps.empty()) {
            out.sps.assign(n.unit, n.unit + n.size);
            if (!ReadSequenceFields(n, fields)) return false;
        }
        if (type == 8 && out.pps.empty()) out.pps.assign(n.unit, n.unit + n.size);
        if (slice && (out.sps.empty() || !ReadSliceHeader(n, fields, firstMb, lsb))) return false;
        if (hasSlice && ((slice && firstMb == 0) || (type >= 6 && type <= 9))) {
            close(n.begin);
            hasSlice = false;
            start = nullptr;
        }
        if (!start) start = n.begin;
        if (!slice || hasSlice) continue;
        if (firstMb != 0) return false;  // a picture's first slice missing
        if (type == 5) pocMsb = prevLsb = decodeInRun = 0;
        const int32_t maxLsb = int32_t(1) << fields.pocLsbBits, l = int32_t(lsb);
        if (l < prevLsb && prevLsb - l >= maxLsb / 2) pocMsb += maxLsb;
        if (l > prevLsb && l - prevLsb > maxLsb / 2) pocMsb -= maxLsb;
        prevLsb = l;
        AvcAccessUnit unit;
        unit.keyFrame = type == 5;
        unit.pictureOrder = fields.pocType == 0 ? pocMsb + l : decodeInRun;
        ++decodeInRun;
        out.units.push_back(unit);
        hasSlice = true;
    }
    close(data.data() + data.size());
    return !out.sps.empty() && !out.pps.empty() && !out.units.empty();
}
