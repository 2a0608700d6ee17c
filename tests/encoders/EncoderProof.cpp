// Proves the encoders built by third_party/build.sh link and run in a Windows
// program: 12 synthetic frames of 320 x 240 through x264 (High profile,
// 4:2:0, BT.709 flagged in the VUI) into an H.264 Annex B stream, and one
// second of a 440 Hz tone (44.1 kHz stereo) through vo-aacenc (AAC-LC) into
// an ADTS file. encoder_proof_test.sh reads both back with ffprobe.
// Usage: encoder_proof.exe OUT.h264 OUT.aac
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

// x264.h needs the fixed-width types before it.
#include <stdint.h>
#include <vo-aacenc/cmnMemory.h>
#include <vo-aacenc/voAAC.h>
#include <x264.h>

#include "third_party/EncoderVersions.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kFrames = 12;
constexpr int kSampleRate = 44100;
constexpr int kChannels = 2;

bool WriteAll(std::FILE* file, const void* data, size_t size) {
    return std::fwrite(data, 1, size, file) == size;
}

bool WriteNals(std::FILE* file, const x264_nal_t* nals, int count) {
    for (int i = 0; i < count; ++i) {
        if (!WriteAll(file, nals[i].p_payload, static_cast<size_t>(nals[i].i_payload)))
            return false;
    }
    return true;
}

// A gradient that moves one step a frame, and a flat grey box.
void PaintFrame(x264_picture_t& picture, int index) {
    for (int y = 0; y < kHeight; ++y) {
        uint8_t* row = picture.img.plane[0] + y * picture.img.i_stride[0];
        for (int x = 0; x < kWidth; ++x) {
            bool box = x >= 100 && x < 200 && y >= 80 && y < 160;
            row[x] = box ? 128 : static_cast<uint8_t>(16 + (x + y + 4 * index) % 220);
        }
    }
    for (int plane = 1; plane < 3; ++plane) {
        for (int y = 0; y < kHeight / 2; ++y) {
            uint8_t* row = picture.img.plane[plane] + y * picture.img.i_stride[plane];
            for (int x = 0; x < kWidth / 2; ++x)
                row[x] = static_cast<uint8_t>(plane == 1 ? 100 + x / 4 : 150 - y / 4);
        }
    }
}

bool EncodeVideo(const char* path) {
    x264_param_t param;
    if (x264_param_default_preset(&param, "medium", nullptr) < 0) return false;
    param.i_width = kWidth;
    param.i_height = kHeight;
    param.i_csp = X264_CSP_I420;
    param.i_fps_num = 25;
    param.i_fps_den = 1;
    param.b_annexb = 1;
    param.b_repeat_headers = 1;
    param.i_log_level = X264_LOG_WARNING;
    param.vui.b_fullrange = 0;
    param.vui.i_colorprim = 1;  // BT.709
    param.vui.i_transfer = 1;
    param.vui.i_colmatrix = 1;
    if (x264_param_apply_profile(&param, "high") < 0) return false;

    x264_t* encoder = x264_encoder_open(&param);
    if (!encoder) return false;
    std::FILE* file = std::fopen(path, "wb");
    bool ok = file != nullptr;
    x264_picture_t picture;
    x264_picture_t encoded;
    ok = ok && x264_picture_alloc(&picture, X264_CSP_I420, kWidth, kHeight) == 0;
    x264_nal_t* nals = nullptr;
    int count = 0;
    for (int i = 0; ok && i < kFrames; ++i) {
        PaintFrame(picture, i);
        picture.i_pts = i;
        ok = x264_encoder_encode(encoder, &nals, &count, &picture, &encoded) >= 0 &&
             WriteNals(file, nals, count);
    }
    while (ok && x264_encoder_delayed_frames(encoder) > 0) {
        ok = x264_encoder_encode(encoder, &nals, &count, nullptr, &encoded) >= 0 &&
             WriteNals(file, nals, count);
    }
    if (file && std::fclose(file) != 0) ok = false;
    x264_picture_clean(&picture);
    x264_encoder_close(encoder);
    return ok;
}

bool EncodeAudio(const char* path) {
    VO_AUDIO_CODECAPI api{};
    if (voGetAACEncAPI(&api) != VO_ERR_NONE) return false;
    VO_MEM_OPERATOR memory{};
    memory.Alloc = cmnMemAlloc;
    memory.Copy = cmnMemCopy;
    memory.Free = cmnMemFree;
    memory.Set = cmnMemSet;
    memory.Check = cmnMemCheck;
    VO_CODEC_INIT_USERDATA user{};
    user.memflag = VO_IMF_USERMEMOPERATOR;
    user.memData = &memory;
    VO_HANDLE handle = nullptr;
    if (api.Init(&handle, VO_AUDIO_CodingAAC, &user) != VO_ERR_NONE) return false;
    AACENC_PARAM param{};
    param.sampleRate = kSampleRate;
    param.bitRate = 128000;
    param.nChannels = kChannels;
    param.adtsUsed = 1;
    std::FILE* file = nullptr;
    bool ok = api.SetParam(handle, VO_PID_AAC_ENCPARAM, &param) == VO_ERR_NONE;
    if (ok) file = std::fopen(path, "wb");
    ok = ok && file != nullptr;

    // One AAC frame takes 1024 samples a channel; a second and a bit more.
    constexpr int kFrameSamples = 1024;
    std::vector<int16_t> pcm(kFrameSamples * kChannels);
    std::vector<uint8_t> out(8192);
    const double kPi = 3.14159265358979323846;
    for (int frame = 0; ok && frame * kFrameSamples < kSampleRate + kFrameSamples; ++frame) {
        for (int i = 0; i < kFrameSamples; ++i) {
            double t = static_cast<double>(frame * kFrameSamples + i) / kSampleRate;
            auto sample = static_cast<int16_t>(12000 * std::sin(2 * kPi * 440 * t));
            for (int c = 0; c < kChannels; ++c) pcm[i * kChannels + c] = sample;
        }
        VO_CODECBUFFER input{};
        input.Buffer = reinterpret_cast<VO_PBYTE>(pcm.data());
        input.Length = static_cast<VO_U32>(pcm.size() * sizeof(int16_t));
        ok = api.SetInputData(handle, &input) == VO_ERR_NONE;
        VO_CODECBUFFER output{};
        output.Buffer = out.data();
        output.Length = static_cast<VO_U32>(out.size());
        VO_AUDIO_OUTPUTINFO info{};
        ok = ok && api.GetOutputData(handle, &output, &info) == VO_ERR_NONE &&
             WriteAll(file, out.data(), output.Length);
    }
    if (file && std::fclose(file) != 0) ok = false;
    api.Uninit(handle);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: encoder_proof OUT.h264 OUT.aac\n");
        return 2;
    }
    std::printf("%s %s (%s), %s %s (%s)\n", BRANTLE_X264_NAME, BRANTLE_X264_VERSION,
                BRANTLE_X264_LICENCE_ID, BRANTLE_AACENC_NAME, BRANTLE_AACENC_VERSION,
                BRANTLE_AACENC_LICENCE_ID);
    if (!EncodeVideo(argv[1])) {
        std::fprintf(stderr, "encoder_proof: x264 could not encode %s\n", argv[1]);
        return 1;
    }
    if (!EncodeAudio(argv[2])) {
        std::fprintf(stderr, "encoder_proof: vo-aacenc could not encode %s\n", argv[2]);
        return 1;
    }
    return 0;
}
