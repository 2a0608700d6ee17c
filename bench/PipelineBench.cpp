// Records the whole screen with the real recording thread for a while and
// prints how much of the film it filled and what each frame cost, as
// medians: the grab (screen copy and overlays), the compression and the
// write into the file, and the process's processor time as a share of one
// core. bench/pipeline.sh runs it on a screen with moving content.
// Usage: pipeline_bench FILE INTERVAL_MS SECONDS [zmbv|msvc|h264 [SCENE.exe]]
// SCENE.exe, when given, is started first and ended afterwards: moving
// content of its own, for screens where no other program provides it.
#include <windows.h>

#include <mmsystem.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "codecs/BuiltInCompressors.h"
#include "engine/Mp4Recording.h"
#include "engine/RcdAviThread.h"
#include "engine/RecordingMessages.h"
#include "engine/RecordingState.h"
#include "engine/StageTimes.h"
#include "tests/win/AviReader.h"

namespace {

bool g_ended = false;

LRESULT CALLBACK EndWatcher(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER_GENERIC_MSG) g_ended = true;
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeEndWatcher() {
    WNDCLASSA type{};
    type.lpfnWndProc = EndWatcher;
    type.hInstance = GetModuleHandleA(nullptr);
    type.lpszClassName = "PipelineBenchEnd";
    RegisterClassA(&type);
    return CreateWindowA(type.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                         type.hInstance, nullptr);
}

// Pumps messages until the recording thread says it has ended or the time
// limit passes.
bool PumpUntilEnded(DWORD limitMs) {
    const DWORD start = timeGetTime();
    MSG msg;
    while (!g_ended && timeGetTime() - start < limitMs) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    return g_ended;
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double Percentile95(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[(v.size() * 95 + 99) / 100 - 1];
}

double ProcessCpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& t) {
        return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

std::shared_ptr<RecordingJob> FullScreenJob(const std::string& file, int interval,
                                            const std::string& codec, HWND watcher,
                                            const RecordSettings& settings, StageTimes& times) {
    auto job = std::make_shared<RecordingJob>();
    job->FileName = file;
    job->CaptureRect = {0, 0, GetSystemMetrics(SM_CXSCREEN) - 1,
                        GetSystemMetrics(SM_CYSCREEN) - 1};
    job->RecordInterval = interval;
    // The program's default spacing unless the bench is told another.
    if (const char* keyFrames = std::getenv("KEYFRAMES"))
        job->KeyFrames = std::max(1, std::atoi(keyFrames));
    job->PlayRate = std::max(1, 1000 / interval);
    job->ShowBorder = 0;
    ICINFO compressor{};
    compressor.dwSize = sizeof compressor;
    compressor.fccType = ICTYPE_VIDEO;
    compressor.fccHandler = codec == "msvc"   ? mmioFOURCC('M', 'S', 'V', 'C')
                            : codec == "h264" ? FourccH264Mp4
                                              : mmioFOURCC('Z', 'M', 'B', 'V');
    job->Compressor = compressor;
    job->MainWindow = watcher;
    job->Settings = &settings;
    job->Timings = &times;
    return job;
}

// Starts the scene program and waits until its windows are up.
PROCESS_INFORMATION StartScene(const std::string& program) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string command = "\"" + program + "\"";
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return {};
    WaitForInputIdle(process.hProcess, 10000);
    return process;
}

void EndScene(const PROCESS_INFORMATION& process) {
    if (!process.hProcess) return;
    TerminateProcess(process.hProcess, 0);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

double FileBytes(const std::string& file) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data)) return 0;
    return double(uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s FILE INTERVAL_MS SECONDS [zmbv|msvc|h264 [SCENE.exe]]\n",
                     argv[0]);
        return 2;
    }
    const std::string file = argv[1];
    const int interval = std::atoi(argv[2]);
    const int seconds = std::atoi(argv[3]);
    const std::string codec = argc > 4 ? argv[4] : "zmbv";
    if (!InstallBuiltInCompressors()) return 1;
    const PROCESS_INFORMATION scene = argc > 5 ? StartScene(argv[5]) : PROCESS_INFORMATION{};
    if (argc > 5 && !scene.hProcess) {
        std::fprintf(stderr, "cannot start %s\n", argv[5]);
        return 1;
    }

    RecordSettings settings;
    StageTimes times;
    const HWND watcher = MakeEndWatcher();
    auto* thread = AfxBeginThread<CRcdAviThread>(THREAD_PRIORITY_HIGHEST, 0, CREATE_SUSPENDED);
    thread->Job = FullScreenJob(file, interval, codec, watcher, settings, times);
    TheRecordingState.Begin();
    const double cpuStart = ProcessCpuMs();
    const DWORD start = timeGetTime();
    thread->ResumeThread();
    PumpUntilEnded(static_cast<DWORD>(seconds) * 1000);
    TheRecordingState.RecordingActive = 0;
    if (!PumpUntilEnded(60000)) {
        std::fprintf(stderr, "the recording did not end\n");
        return 1;
    }
    const double cpu = (ProcessCpuMs() - cpuStart) / (timeGetTime() - start) * 100;
    EndScene(scene);

    long positions = 0, frames = 0;
    if (codec == "h264") {
        // ffprobe judges the MP4 file; the film's length and the frames coded are the thread's.
        positions = long(TheRecordingState.FilmLengthMs.load() / uint32_t(interval));
        frames = long(times.compressMs.size());
    } else {
        const AviContents avi = ReadAvi(file);
        frames = long(std::count_if(avi.samples.begin(), avi.samples.end(),
                                    [](const AviSample& s) { return !s.data.empty(); }));
        positions = avi.length;
    }
    const double minutes = positions * double(interval) / 60000;
    std::printf("positions=%ld frames=%ld filled=%.1f%% grab_ms=%.1f compress_ms=%.1f "
                "write_ms=%.2f cpu=%.0f%% mb_per_minute=%.1f\n",
                positions, frames, positions ? 100.0 * frames / positions : 0.0,
                Median(times.grabMs), Median(times.compressMs), Median(times.writeMs), cpu,
                minutes > 0 ? FileBytes(file) / 1e6 / minutes : 0.0);
    std::printf("  p95: grab_ms=%.1f compress_ms=%.1f write_ms=%.2f; grabs=%zu "
                "refused_by_full_queue=%u\n",
                Percentile95(times.grabMs), Percentile95(times.compressMs),
                Percentile95(times.writeMs), times.grabMs.size(), times.dropped.load());
    return 0;
}
