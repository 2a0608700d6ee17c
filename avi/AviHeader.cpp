#include "avi/AviHeader.h"

#include "avi/RiffBytes.h"

namespace {

void PutHeaderOfMain(RiffBytes& b, AviHeaderLayout& layout, const AviVideoStream& video,
                     int streams) {
    const size_t size = b.Open(Fourcc("avih"));
    b.U32(video.rate ? 1000000 / video.rate : 0);  // dwMicroSecPerFrame
    b.U32(0);                                      // dwMaxBytesPerSec
    b.U32(0);                                      // dwPaddingGranularity
    layout.mainFlags = b.Size();
    b.U32(AvifIsInterleaved);
    layout.mainTotalFrames = b.Size();
    b.U32(0);
    b.U32(0);  // dwInitialFrames
    b.U32(uint32_t(streams));
    layout.mainSuggestedSize = b.Size();
    b.U32(0);
    const VideoSize frame = VideoSizeOf(video);
    b.U32(uint32_t(frame.width));
    b.U32(uint32_t(frame.height < 0 ? -frame.height : frame.height));
    b.Zeros(16);
    b.Close(size);
}

// Everything of a stream header but its type, handler, rates and frame.
struct StreamHeaderValues {
    uint32_t type, handler, scale, rate, quality, sampleSize;
    int16_t right, bottom;
};

void PutStreamHeader(RiffBytes& b, StreamHeaderFields& fields, const StreamHeaderValues& v) {
    const size_t size = b.Open(Fourcc("strh"));
    b.U32(v.type);
    b.U32(v.handler);
    b.U32(0);  // dwFlags
    b.U16(0);  // wPriority
    b.U16(0);  // wLanguage
    b.U32(0);  // dwInitialFrames
    b.U32(v.scale);
    b.U32(v.rate);
    b.U32(0);  // dwStart
    fields.length = b.Size();
    b.U32(0);
    fields.suggestedSize = b.Size();
    b.U32(0);
    b.U32(v.quality);
    b.U32(v.sampleSize);
    b.U16(0);
    b.U16(0);
    b.U16(uint16_t(v.right));
    b.U16(uint16_t(v.bottom));
    b.Close(size);
}

void PutSuperIndex(RiffBytes& b, StreamHeaderFields& fields, uint32_t chunkId, uint32_t entries) {
    fields.superIndex = b.Size();
    const size_t size = b.Open(Fourcc("indx"));
    b.U16(4);  // wLongsPerEntry
    b.U8(0);   // bIndexSubType
    b.U8(0);   // bIndexType: an index of indexes
    b.U32(0);  // nEntriesInUse
    b.U32(chunkId);
    b.Zeros(12);
    b.Zeros(size_t(entries) * SuperIndexEntryBytes);
    b.Close(size);
}

void PutFormat(RiffBytes& b, const std::vector<uint8_t>& format) {
    b.U32(Fourcc("strf"));
    b.U32(uint32_t(format.size()));
    b.Append(format);
    if (format.size() % 2) b.U8(0);  // chunks start on even offsets
}

}  // namespace

VideoSize VideoSizeOf(const AviVideoStream& video) {
    if (video.format.size() < 12) return {0, 0};
    return {int32_t(Read32(&video.format[4])), int32_t(Read32(&video.format[8]))};
}

uint16_t BlockAlignOf(const AviAudioStream& audio) {
    return audio.format.size() >= 14 ? Read16(&audio.format[12]) : 0;
}

uint32_t SamplesPerSecOf(const AviAudioStream& audio) {
    return audio.format.size() >= 8 ? Read32(&audio.format[4]) : 0;
}

uint32_t AvgBytesPerSecOf(const AviAudioStream& audio) {
    return audio.format.size() >= 12 ? Read32(&audio.format[8]) : 0;
}

AviHeaderLayout BuildAviHeader(const AviVideoStream& video, const AviAudioStream* audio,
                               uint32_t superIndexEntries) {
    AviHeaderLayout layout;
    layout.streamCount = audio ? 2 : 1;
    RiffBytes b;
    layout.riffSize = b.OpenList(Fourcc("RIFF"), Fourcc("AVI "));
    const size_t hdrl = b.OpenList(Fourcc("LIST"), Fourcc("hdrl"));
    PutHeaderOfMain(b, layout, video, layout.streamCount);

    const VideoSize frame = VideoSizeOf(video);
    size_t strl = b.OpenList(Fourcc("LIST"), Fourcc("strl"));
    PutStreamHeader(b, layout.streams[0],
                    {Fourcc("vids"), video.handler, 1, video.rate, video.quality, 0,
                     int16_t(frame.width), int16_t(frame.height < 0 ? -frame.height : frame.height)});
    PutFormat(b, video.format);
    PutSuperIndex(b, layout.streams[0], Fourcc("00dc"), superIndexEntries);
    b.Close(strl);

    if (audio) {
        const uint16_t align = BlockAlignOf(*audio);
        strl = b.OpenList(Fourcc("LIST"), Fourcc("strl"));
        PutStreamHeader(b, layout.streams[1],
                        {Fourcc("auds"), 0, align, SamplesPerSecOf(*audio) * align, 0xFFFFFFFFu,
                         align, 0, 0});
        PutFormat(b, audio->format);
        PutSuperIndex(b, layout.streams[1], Fourcc("01wb"), superIndexEntries);
        b.Close(strl);
    }

    const size_t odml = b.OpenList(Fourcc("LIST"), Fourcc("odml"));
    const size_t dmlh = b.Open(Fourcc("dmlh"));
    layout.extendedTotalFrames = b.Size();
    b.Zeros(248);
    b.Close(dmlh);
    b.Close(odml);
    b.Close(hdrl);

    b.Close(layout.riffSize);
    layout.bytes = b.Data();
    return layout;
}
