#include "tests/e2e/SoundLoop.h"

#include <windows.h>

#include <mmsystem.h>

#include <dsound.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "framework/ComPtr.h"

namespace {

constexpr DWORD Rate = 44100;
constexpr DWORD RingBytes = Rate * 2 * 2;  // two seconds of 16-bit mono
constexpr int Loud = 3000;
constexpr DWORD QuietFrames = Rate / 10;  // a cue starts after 100 ms of quiet

struct Listener {
    ComPtr<IDirectSoundCapture> device;
    ComPtr<IDirectSoundCaptureBuffer> buffer;
    DWORD next = 0;
    DWORD quiet = QuietFrames;
    std::vector<double> onsets;  // ms on timeGetTime's clock

    bool Start() {
        if (FAILED(DirectSoundCaptureCreate(nullptr, device.Out(), nullptr))) return false;
        WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, Rate, Rate * 2, 2, 16, 0};
        DSCBUFFERDESC desc{};
        desc.dwSize = sizeof desc;
        desc.dwBufferBytes = RingBytes;
        desc.lpwfxFormat = &format;
        return SUCCEEDED(device->CreateCaptureBuffer(&desc, buffer.Out(), nullptr)) &&
               SUCCEEDED(buffer->Start(DSCBSTART_LOOPING));
    }

    // Reads what arrived; a loud sample after quiet is an onset, taken as
    // long before now as the sound after it lasts.
    DWORD Poll() {
        DWORD captureCursor = 0, readCursor = 0;
        buffer->GetCurrentPosition(&captureCursor, &readCursor);
        const DWORD now = timeGetTime();
        const DWORD bytes = (readCursor + RingBytes - next) % RingBytes;
        if (bytes == 0) return 0;
        void* first = nullptr;
        void* second = nullptr;
        DWORD firstLength = 0, secondLength = 0;
        buffer->Lock(next, bytes, &first, &firstLength, &second, &secondLength, 0);
        std::vector<short> samples(bytes / 2);
        std::memcpy(samples.data(), first, firstLength);
        if (second) std::memcpy(reinterpret_cast<char*>(samples.data()) + firstLength, second, secondLength);
        buffer->Unlock(first, firstLength, second, secondLength);
        next = readCursor;
        for (size_t i = 0; i < samples.size(); ++i) {
            const bool loud = std::abs(samples[i]) > Loud;
            if (loud && quiet >= QuietFrames)
                onsets.push_back(now - (samples.size() - i) * 1000.0 / Rate);
            quiet = loud ? 0 : quiet + 1;
        }
        return bytes;
    }
};

}  // namespace

double LoopLatencyMs(const std::string& cue, int times) {
    timeBeginPeriod(1);
    Listener listener;
    if (!listener.Start()) return -1;
    // The device may take seconds to deliver its first sound.
    const DWORD start = timeGetTime();
    while (listener.Poll() == 0 && timeGetTime() - start < 10000) Sleep(1);
    std::vector<double> calls;
    DWORD nextCue = timeGetTime() + 300;
    while (static_cast<int>(calls.size()) < times || timeGetTime() < nextCue) {
        if (static_cast<int>(calls.size()) < times && timeGetTime() >= nextCue) {
            calls.push_back(timeGetTime());
            PlaySoundA(cue.c_str(), nullptr, SND_FILENAME | SND_ASYNC);
            nextCue += 400;
        }
        listener.Poll();
        Sleep(1);
    }
    PlaySoundA(nullptr, nullptr, 0);
    timeEndPeriod(1);
    // Each call pairs with the first onset after it, before the next call.
    std::vector<double> delays;
    for (size_t k = 0; k < calls.size(); ++k) {
        const double until = k + 1 < calls.size() ? calls[k + 1] : calls[k] + 400;
        for (double onset : listener.onsets)
            if (onset >= calls[k] && onset < until) {
                delays.push_back(onset - calls[k]);
                break;
            }
    }
    if (delays.empty()) return -1;
    std::sort(delays.begin(), delays.end());
    return delays[delays.size() / 2];
}
