#include "encode/H264Encoder.h"

#include <cstring>

extern "C" {
#include <stdint.h>
#include <x264.h>
}

namespace {

constexpr int NalHeaderBytes = 4;  // the length that replaces each start code

void Configure(x264_param_t& p, int width, int height, uint32_t rate, uint32_t scale,
               const H264Settings& settings) {
    p.i_width = EvenSide(width);
    p.i_height = EvenSide(height);
    p.crop_rect.i_right = static_cast<unsigned>(p.i_width - width);
    p.crop_rect.i_bottom = static_cast<unsigned>(p.i_height - height);
    p.i_csp = X264_CSP_I420;
    p.i_log_level = X264_LOG_NONE;
    // Output in input order, so each frame's duration is its own. Frame
    // times guide the rate control, at one frame's delay; a recording wants
    // each frame back at once and keeps its rate.
    p.i_bframe = 0;
    p.b_vfr_input = settings.realTime ? 0 : 1;
    p.i_timebase_num = scale;
    p.i_timebase_den = rate;
    p.i_fps_num = rate;
    p.i_fps_den = scale;
    p.i_keyint_max = settings.keyFrameMax;
    p.rc.i_rc_method = X264_RC_CRF;
    p.rc.f_rf_constant = static_cast<float>(settings.crf);
    p.b_annexb = 0;
    p.b_repeat_headers = 0;
    p.vui.i_colorprim = 1;  // BT.709
    p.vui.i_transfer = 1;
    p.vui.i_colmatrix = 1;
    p.vui.b_fullrange = 0;
}

}  // namespace

H264Encoder::~H264Encoder() {
    if (m_encoder) x264_encoder_close(m_encoder);
}

bool H264Encoder::Open(int width, int height, uint32_t rate, uint32_t scale,
                       const H264Settings& settings) {
    x264_param_t p;
    if (x264_param_default_preset(&p, settings.preset, settings.realTime ? "zerolatency" : nullptr) < 0)
        return false;
    Configure(p, width, height, rate, scale, settings);
    if (x264_param_apply_profile(&p, "high") < 0) return false;
    m_encoder = x264_encoder_open(&p);
    if (!m_encoder) return false;
    x264_nal_t* nals = nullptr;
    int count = 0;
    if (x264_encoder_headers(m_encoder, &nals, &count) < 0) return false;
    for (int i = 0; i < count; ++i) {
        const uint8_t* body = nals[i].p_payload + NalHeaderBytes;
        const std::vector<uint8_t> unit(body, body + nals[i].i_payload - NalHeaderBytes);
        if (nals[i].i_type == NAL_SPS) m_sps = unit;
        if (nals[i].i_type == NAL_PPS) m_pps = unit;
    }
    return !m_sps.empty() && !m_pps.empty();
}

bool H264Encoder::Take(int bytes, void* nals, int count, const void* picture,
                       std::vector<EncodedFrame>& out) {
    if (bytes < 0) return false;
    if (bytes == 0 || count == 0) return true;
    const auto* units = static_cast<x264_nal_t*>(nals);
    const auto* shown = static_cast<const x264_picture_t*>(picture);
    EncodedFrame frame;
    // The units of one frame lie one after the other in the encoder's buffer.
    frame.data.assign(units[0].p_payload, units[0].p_payload + bytes);
    frame.pts = shown->i_pts;
    frame.keyFrame = shown->b_keyframe != 0;
    out.push_back(std::move(frame));
    return true;
}

bool H264Encoder::Encode(const YuvPicture& picture, int64_t pts, std::vector<EncodedFrame>& out) {
    x264_picture_t in;
    x264_picture_init(&in);
    in.img.i_csp = X264_CSP_I420;
    in.img.i_plane = 3;
    in.img.plane[0] = const_cast<uint8_t*>(picture.y.data());
    in.img.plane[1] = const_cast<uint8_t*>(picture.u.data());
    in.img.plane[2] = const_cast<uint8_t*>(picture.v.data());
    in.img.i_stride[0] = picture.width;
    in.img.i_stride[1] = in.img.i_stride[2] = picture.width / 2;
    in.i_pts = pts;
    x264_picture_t shown;
    x264_nal_t* nals = nullptr;
    int count = 0;
    const int bytes = x264_encoder_encode(m_encoder, &nals, &count, &in, &shown);
    return Take(bytes, nals, count, &shown, out);
}

bool H264Encoder::Flush(std::vector<EncodedFrame>& out) {
    while (x264_encoder_delayed_frames(m_encoder) > 0) {
        x264_picture_t shown;
        x264_nal_t* nals = nullptr;
        int count = 0;
        const int bytes = x264_encoder_encode(m_encoder, &nals, &count, nullptr, &shown);
        if (!Take(bytes, nals, count, &shown, out)) return false;
    }
    return true;
}

bool H264Encoder::SetQuality(int crf) {
    x264_param_t p;
    x264_encoder_parameters(m_encoder, &p);
    p.rc.f_rf_constant = static_cast<float>(crf);
    return x264_encoder_reconfig(m_encoder, &p) == 0;
}
