// Records an animated test pattern with the video recording thread and
// checks decoded frames against it. Modes:
//   record FILE.avi SECONDS [--interval MS] [--audio CANDIDATE[,CANDIDATE...]]
//          [--pauses N] [--cue SOUND.wav] [--flash MS] [--container mp4]
//                             show the pattern at (100, 80), 320 x 240, and
//                             record it to play in real time with the
//                             catalogue's lossless built-in compressor (with
//                             mp4, its H.264 MP4 entry, to FILE.mp4 as the
//                             program names it), with
//                             sound from the capture device when asked,
//                             pausing N times; the cue plays at each resume.
//                             With several candidates, one recording each,
//                             one after the other in this one process, to
//                             FILE-CANDIDATE.avi (.mp4). With --flash, every MS the
//                             window flashes white for a moment and the cue
//                             plays in the same instant instead
//   latency SOUND.wav         print the median delay from playing the sound
//                             to the capture device taking it, in ms
//   decode FILE.avi OUT.raw   decode every frame with the decompressor the
//                             platform finds for it, the program's built-in
//                             ones registered, into top-down 24-bit rows
//   compare FRAMES.raw BITS   each decoded frame must equal the pattern phase
//                             its marker names in the top BITS bits of every
//                             channel (5 when the screen keeps 5-5-5 colours)
#include <windows.h>

#include <mmsystem.h>

#include <vfw.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "codecs/BuiltInCompressors.h"
#include "engine/KeyFramePace.h"
#include "engine/Mp4Recording.h"
#include "engine/RcdAudioThread.h"
#include "engine/RcdAviThread.h"
#include "engine/RecordingJob.h"
#include "engine/RecordingMessages.h"
#include "engine/RecordingState.h"
#include "framework/Wnd.h"
#include "options/AudioFormatCatalogue.h"
#include "options/CompressorCatalogue.h"
#include "tests/e2e/SoundLoop.h"

namespace {

constexpr int Left = 100, Top = 80, Width = 320, Height = 240, Phases = 32;

constexpr int MarkerBits = 5, MarkerSize = 8;

// Pattern phase k, top-down, 24-bit BGR. A row of five 8 x 8 squares at the
// top-left names the phase in binary, black or white, which every screen
// depth keeps.
std::vector<unsigned char> Pattern(int k) {
    std::vector<unsigned char> rgb(static_cast<size_t>(Width) * Height * 3);
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) {
            unsigned char r, g, b;
            if (x < MarkerBits * MarkerSize && y < MarkerSize) {
                r = g = b = (k >> (x / MarkerSize)) & 1 ? 255 : 0;
            } else if (x >= 40 + 6 * k && x < 140 + 6 * k && y >= 60 && y < 160) {
                const bool stripe = (y / 4) % 3 == 0 && (x / 3) % 5 != 0;  // text-like rows
                r = g = b = stripe ? 20 : 240;
            } else {
                r = static_cast<unsigned char>((x + 4 * k) & 0xF8);
                g = static_cast<unsigned char>(((y / 30) * 32) & 0xFF);
                b = static_cast<unsigned char>(160 - (x / 40) * 16);
            }
            unsigned char* p = &rgb[(static_cast<size_t>(y) * Width + x) * 3];
            p[0] = b, p[1] = g, p[2] = r;
        }
    }
    return rgb;
}

class PatternWindow : public CWnd {
public:
    PatternWindow() {
        CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(0), "Pattern", WS_POPUP | WS_VISIBLE, Left, Top,
                 Width, Height, nullptr, nullptr);
        SetTimer(m_hWnd, 1, 100, nullptr);
    }
    bool ended = false;

    // Shows plain white, a mark that is easy to find, or the pattern again;
    // painted before this returns.
    void TurnWhite(bool white = true) {
        m_white = white;
        InvalidateRect(m_hWnd, nullptr, FALSE);
        UpdateWindow(m_hWnd);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TIMER) {
            m_phase = (m_phase + 1) % Phases;
            InvalidateRect(m_hWnd, nullptr, FALSE);
            return 0;
        }
        if (message == WM_PAINT) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(m_hWnd, &ps);
            const std::vector<unsigned char> rgb =
                m_white ? std::vector<unsigned char>(Width * Height * 3, 255) : Pattern(m_phase);
            BITMAPINFO info{};
            info.bmiHeader = {
                sizeof(BITMAPINFOHEADER), Width, -Height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
            SetDIBitsToDevice(dc, 0, 0, Width, Height, 0, 0, 0, Height, rgb.data(), &info,
                              DIB_RGB_COLORS);
            EndPaint(m_hWnd, &ps);
            return 0;
        }
        if (message == WM_USER_GENERIC_MSG) {
            ended = true;
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }

private:
    int m_phase = 0;
    bool m_white = false;
};

struct RecordOptions {
    int seconds = 3;
    int interval = 100;
    std::vector<int> audioFormats;  // candidates to record sound in, one recording each
    int pauses = 0;                 // pauses of one second, spread over the recording
    std::string cue;                // a sound played, and the window turned white, at each resume
    int flash = 0;                  // ms between flashes with the cue, or none
    bool mp4 = false;               // straight to MP4 instead of lossless AVI
};

// Flashes the window white for one frame's time and plays the cue in the
// same instant, every period. Each flash comes half a frame before a grab
// is due, so that its first white frame is taken half a frame after it;
// none comes within a moment of a pause or the end, which would cut it.
class Flasher {
public:
    explicit Flasher(const RecordOptions& options) : m_options(options) {}
    void Flash(PatternWindow& window, DWORD stretchEnd) {
        const DWORD now = timeGetTime();
        if (m_white && now - m_flashedAt >= static_cast<DWORD>(m_options.interval)) {
            window.TurnWhite(false);
            m_white = false;
        }
        // The film's clock is set once the file is open.
        if (m_options.flash == 0 || !TheRecordingState.RecordingFile.load()) return;
        if (static_cast<int32_t>(now - m_next) < 0 || stretchEnd - now < QuietMs) return;
        const DWORD grid = TheRecordingState.FilmStart + TheRecordingState.PausedTime;
        const DWORD interval = m_options.interval;
        const DWORD sinceGrid = now - grid + interval / 2;
        if (sinceGrid % interval > 2) return;  // not yet half a frame before a grab
        window.TurnWhite(true);
        PlaySoundA(m_options.cue.c_str(), nullptr, SND_FILENAME | SND_ASYNC);
        m_white = true;
        m_flashedAt = now;
        m_next = now + m_options.flash;
    }
    // After a pause, the first flash waits a moment.
    void Resumed() { m_next = timeGetTime() + QuietMs; }
    void Start() { m_next = timeGetTime(); }

private:
    static constexpr DWORD QuietMs = 400;
    const RecordOptions& m_options;
    bool m_white = false;
    DWORD m_flashedAt = 0, m_next = 0;
};

void PumpUntil(DWORD limitMs, bool (*done)(PatternWindow&), PatternWindow& window,
               Flasher* flasher = nullptr) {
    const DWORD start = timeGetTime();
    MSG msg;
    while (!done(window) && timeGetTime() - start < limitMs) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        if (flasher) flasher->Flash(window, start + limitMs);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, flasher ? 1 : 10, QS_ALLINPUT);
    }
}

// The catalogue's entry the program records with: the lossless built-in,
// or the one that records straight to MP4.
std::optional<ICINFO> CatalogueCompressor(RecordSettings& settings, bool mp4) {
    CompressorCatalogue catalogue;
    catalogue.Build(settings);
    const ICINFO* chosen = nullptr;
    for (int i = 0; i < catalogue.Count(); ++i) {
        const uint32_t handler = catalogue.Entry(i).fccHandler;
        if (mp4 ? IsH264Mp4Handler(handler) : IsZmbvHandler(handler)) chosen = &catalogue.Entry(i);
    }
    if (!chosen) return std::nullopt;
    std::printf("compressor %.4s\n", reinterpret_cast<const char*>(&chosen->fccHandler));
    return *chosen;
}

void StartThreads(const std::string& file, const RecordOptions& options, HWND window) {
    static RecordSettings settings;
    settings.ShowMouseDown = 0;
    auto* video = AfxBeginThread<CRcdAviThread>(THREAD_PRIORITY_HIGHEST, 0, CREATE_SUSPENDED);
    auto job = std::make_shared<RecordingJob>();
    job->Compressor = CatalogueCompressor(settings, options.mp4);
    job->FileName = file;
    job->CaptureRect = {Left, Top, Left + Width - 1, Top + Height - 1};
    job->RecordInterval = options.interval;
    job->PlayRate = 1000 / options.interval;  // plays in real time
    job->ShowBorder = 0;
    job->ShowCursor = 0;
    job->MainWindow = window;
    job->Settings = &settings;
    CRcdAudioThread* audio = nullptr;
    if (!options.audioFormats.empty()) {
        audio = AfxBeginThread<CRcdAudioThread>(THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
        job->RecordAudio = true;
        job->AudioDeviceId = CaptureDeviceId();
        job->AudioFormat = CurrentCaptureFormat();
        audio->Job = job;
    }
    video->Job = job;
    TheRecordingState.Begin();
    video->ResumeThread();
    if (audio) audio->ResumeThread();
}

// Pauses and resumes as the controller does: the pause's length is added to
// the paused time before the threads go on.
void PauseFor(DWORD ms, PatternWindow& window, const std::string& cue) {
    const DWORD start = timeGetTime();
    TheRecordingState.Pause.RequestPause();
    PumpUntil(
        ms, [](PatternWindow&) { return false; }, window);
    if (!cue.empty()) window.TurnWhite();
    TheRecordingState.PausedTime += timeGetTime() - start;
    TheRecordingState.Pause.Release();
    if (!cue.empty()) PlaySoundA(cue.c_str(), nullptr, SND_FILENAME | SND_ASYNC);
}

int RecordOne(const std::string& file, const RecordOptions& options, PatternWindow& window) {
    window.ended = false;
    StartThreads(file, options, window.GetSafeHwnd());
    HDC screen = GetDC(nullptr);
    std::printf("screen depth %d\n", GetDeviceCaps(screen, BITSPIXEL));
    std::fflush(stdout);
    ReleaseDC(nullptr, screen);
    Flasher flasher(options);
    flasher.Start();
    const DWORD stretch = static_cast<DWORD>(options.seconds) * 1000 / (options.pauses + 1);
    for (int i = 0; i <= options.pauses && !window.ended; ++i) {
        if (i > 0) {
            PauseFor(1000, window, options.flash ? "" : options.cue);
            flasher.Resumed();
        }
        PumpUntil(
            stretch, [](PatternWindow& w) { return w.ended; }, window, &flasher);
    }
    TheRecordingState.RecordingActive = 0;
    PumpUntil(
        30000, [](PatternWindow& w) { return w.ended; }, window);
    window.TurnWhite(false);
    return window.ended ? 0 : 1;
}

// Records once, or once per candidate, switching the capture format between
// recordings as the Audio Options dialog does.
int Record(const std::string& given, const RecordOptions& options) {
    if (!InstallBuiltInCompressors()) return 2;
    timeBeginPeriod(1);
    PatternWindow window;
    const std::string file = WithContainerExtension(given, options.mp4);
    if (options.audioFormats.empty()) return RecordOne(file, options, window);
    static RecordSettings audioSettings;
    audioSettings.AudioFormat = options.audioFormats.front();
    AudioFormatCatalogue catalogue;
    catalogue.Build(audioSettings);
    for (const int candidate : options.audioFormats) {
        SetCurrentCaptureFormat(CaptureFormatFor(candidate));
        const WAVEFORMATEX format = CurrentCaptureFormat();
        std::printf("capture format %lu Hz %u-bit %u channels\n", format.nSamplesPerSec,
                    format.wBitsPerSample, format.nChannels);
        const std::string name = options.audioFormats.size() == 1
                                     ? file
                                     : file.substr(0, file.size() - 4) + "-" +
                                           std::to_string(candidate) + file.substr(file.size() - 4);
        const int result = RecordOne(name, options, window);
        if (result != 0) return result;
    }
    return 0;
}

// Converts a bottom-up 32-bit picture into top-down 24-bit rows.
void WriteBgr(const std::vector<uint32_t>& picture, FILE* out) {
    std::vector<unsigned char> row(Width * 3);
    for (int y = Height - 1; y >= 0; --y) {
        for (int x = 0; x < Width; ++x) {
            const uint32_t p = picture[static_cast<size_t>(y) * Width + x];
            row[x * 3] = static_cast<unsigned char>(p);
            row[x * 3 + 1] = static_cast<unsigned char>(p >> 8);
            row[x * 3 + 2] = static_cast<unsigned char>(p >> 16);
        }
        std::fwrite(row.data(), 1, row.size(), out);
    }
}

int Decode(const char* file, const char* out) {
    // As in the program's process, whose decompressors these are.
    if (!InstallBuiltInCompressors()) return 2;
    AVIFileInit();
    PAVISTREAM stream = nullptr;
    if (AVIStreamOpenFromFileA(&stream, file, streamtypeVIDEO, 0, OF_READ, nullptr) != 0) return 2;
    BITMAPINFOHEADER in{};
    LONG size = sizeof in;
    AVIStreamReadFormat(stream, 0, &in, &size);
    BITMAPINFOHEADER rgb = {sizeof rgb,         Width, Height, 1, 32, BI_RGB,
                            Width * Height * 4, 0,     0,      0, 0};
    HIC decoder = ICLocate(ICTYPE_VIDEO, 0, &in, &rgb, ICMODE_DECOMPRESS);
    if (!decoder || ICDecompressBegin(decoder, &in, &rgb) != ICERR_OK) return 3;
    FILE* f = std::fopen(out, "wb");
    std::vector<unsigned char> sample(in.biSizeImage * 2 + 4096);
    std::vector<uint32_t> picture(static_cast<size_t>(Width) * Height);
    int frames = 0, result = 0;
    for (LONG pos = AVIStreamStart(stream); pos < AVIStreamEnd(stream) && !result; ++pos) {
        LONG bytes = 0;
        AVIStreamRead(stream, pos, 1, sample.data(), static_cast<LONG>(sample.size()), &bytes,
                      nullptr);
        if (bytes == 0) continue;  // a skipped position holds no frame
        in.biSizeImage = static_cast<DWORD>(bytes);
        if (ICDecompress(decoder, 0, &in, sample.data(), &rgb, picture.data()) != ICERR_OK)
            result = 4;
        WriteBgr(picture, f);
        ++frames;
    }
    std::fclose(f);
    std::printf("decoded %d frames\n", frames);
    ICDecompressEnd(decoder);
    ICClose(decoder);
    AVIStreamRelease(stream);
    AVIFileExit();
    return result ? result : frames > 0 ? 0 : 5;
}

// The first byte of the frame that differs from the pattern in its top
// `bits` bits; -1 when none does.
long FirstDifference(const std::vector<unsigned char>& frame, int bits) {
    int phase = 0;
    for (int bit = 0; bit < MarkerBits; ++bit)
        if (frame[(4 * Width + bit * MarkerSize + 4) * 3] > 127) phase |= 1 << bit;
    const std::vector<unsigned char> expected = Pattern(phase);
    const int mask = (0xFF << (8 - bits)) & 0xFF;
    for (size_t i = 0; i < frame.size(); ++i)
        if ((frame[i] & mask) != (expected[i] & mask)) return static_cast<long>(i);
    return -1;
}

int Compare(const char* frames, int bits) {
    FILE* f = std::fopen(frames, "rb");
    if (!f || bits < 1 || bits > 8) return 2;
    std::vector<unsigned char> frame(static_cast<size_t>(Width) * Height * 3);
    int count = 0;
    long differs = -1;
    while (differs < 0 && std::fread(frame.data(), 1, frame.size(), f) == frame.size()) {
        differs = FirstDifference(frame, bits);
        ++count;
    }
    std::fclose(f);
    if (differs >= 0) {
        const long pixel = differs / 3;
        std::printf("frame %d differs from the pattern at (%ld, %ld)\n", count - 1, pixel % Width,
                    pixel / Width);
        return 1;
    }
    std::printf("frames %d, each the pattern in the top %d bits of every channel\n", count, bits);
    return count > 0 ? 0 : 1;
}

std::vector<int> Candidates(const char* list) {
    std::vector<int> candidates;
    for (const char* p = list; *p; p += *p == ',') {
        char* end = nullptr;
        candidates.push_back(static_cast<int>(std::strtol(p, &end, 10)));
        p = end;
    }
    return candidates;
}

RecordOptions ParseRecordOptions(int argc, char** argv) {
    RecordOptions options;
    options.seconds = std::atoi(argv[3]);
    for (int i = 4; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const int value = std::atoi(argv[i + 1]);
        if (name == "--cue") options.cue = argv[i + 1];
        if (name == "--interval") options.interval = value;
        if (name == "--audio") options.audioFormats = Candidates(argv[i + 1]);
        if (name == "--pauses") options.pauses = value;
        if (name == "--flash") options.flash = value;
        if (name == "--container") options.mp4 = std::string(argv[i + 1]) == "mp4";
    }
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "record" && argc >= 4) return Record(argv[2], ParseRecordOptions(argc, argv));
    if (mode == "decode" && argc == 4) return Decode(argv[2], argv[3]);
    if (mode == "compare" && argc == 4) return Compare(argv[2], std::atoi(argv[3]));
    if (mode == "latency" && argc == 3) {
        const double latency = LoopLatencyMs(argv[2], 12);
        std::printf("%.1f\n", latency);
        return latency >= 0 ? 0 : 1;
    }
    std::fprintf(stderr,
                 "usage: record FILE SECONDS [--interval MS] [--audio CANDIDATE[,...]]"
                 " [--pauses N] [--cue WAV] [--flash MS] [--container mp4] | decode FILE OUT | "
                 "compare FRAMES BITS"
                 " | latency WAV\n");
    return 2;
}
