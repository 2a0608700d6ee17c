// What the H.264 encoder is asked for.
#pragma once

// A constant quality (lower is better), the speed preset, the longest run
// between key frames, in frames, and whether it codes in real time: each
// frame comes back as soon as it went in, the frames at a constant rate.
struct H264Settings {
    int crf;
    const char* preset;
    int keyFrameMax;
    bool realTime = false;
};
