// Reads what an AVI file holds: the streams' headers and formats, and the
// place of every chunk of data, in order. AVI 2.0 (OpenDML) files are read
// through all their RIFF parts by their standard index chunks; AVI 1.0 files
// by their 'idx1'. Where a crash left no index, or one that stops short of
// the chunks in the file, the 'movi' lists are walked chunk by chunk past it.
// A file cut short lists its chunks up to the last whole one.
#pragma once

#include <cstdint>
#include <vector>

#include "avi/InputFile.h"

struct AviChunkRef {
    uint64_t offset = 0;  // of the data, after the chunk's 8-byte header
    uint32_t size = 0;
    // As the index says. A chunk found by walking is not known to be one and
    // says false, unless it is sound.
    bool keyFrame = false;
};

struct AviStreamInfo {
    bool video = false;                                     // 'vids', else 'auds'
    uint32_t handler = 0, scale = 1, rate = 0, length = 0;  // from strh
    std::vector<uint8_t> format;  // strf as stored: BITMAPINFOHEADER (+ palette) or WAVEFORMATEX
    // In order. A video chunk of size 0 is a skipped position: the previous
    // frame lasts longer.
    std::vector<AviChunkRef> chunks;
};

enum class AviReadError {
    None,
    NotAvi,     // no RIFF 'AVI ' form
    CutHeader,  // the file ends inside its header
    NoVideo,    // the header names no video stream
    Unreadable  // the system refused a read, or the header is malformed
};

struct AviFileContents {
    AviReadError error = AviReadError::None;
    uint32_t microSecPerFrame = 0;       // avih
    uint32_t totalFrames = 0;            // dmlh: over all RIFF parts (avih's counts the first only)
    std::vector<AviStreamInfo> streams;  // the video and sound streams, in the header's order
    bool indexed = true;  // false: some chunks were found by walking the 'movi' lists
    // The file ends inside its data: what is listed is what was whole.
    bool cutShort = false;
};

AviFileContents ReadAviFile(InputFile& file);
