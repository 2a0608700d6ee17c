// The video recording thread end to end on the Xvfb screen: fitting to the
// chosen compressor, the file it writes, its messages and boxes, pause at
// its safe point, and a frame that cannot be allocated.
#include <windows.h>

#include <mmsystem.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "codecs/BuiltInCompressors.h"
#include "engine/FrameGrabber.h"
#include "engine/RcdAudioThread.h"
#include "engine/RcdAviThread.h"
#include "engine/RecordingMessages.h"
#include "engine/RecordingJob.h"
#include "engine/RecordingState.h"
#include "framework/Wnd.h"
#include "tests/win/AviReader.h"
#include "tests/win/FakeCompressors.h"
#include "tests/win/GatedCompressor.h"
#include "tests/win/MessageBoxes.h"
#include "tests/win/Waiting.h"
#include "tests/win/TestPaths.h"

namespace {

// Stands in for the main window: keeps what the thread posts.
class MessageLog : public CWnd {
public:
    MessageLog() {
        CreateEx(0, AfxRegisterWndClass(0), "Log", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr);
    }
    struct Entry {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Entry> entries;

    bool Received(UINT message) const {
        return std::any_of(entries.begin(), entries.end(),
                           [&](const Entry& e) { return e.message == message; });
    }
    std::vector<UINT> Messages() const {
        std::vector<UINT> ids;
        for (const Entry& e : entries) ids.push_back(e.message);
        return ids;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_RECORD_STATUS || message == WM_USER_GENERIC_MSG ||
            message == WM_USER_RECORDINTERRUPTED_MSG || message == WM_USER_RECORDSTART_MSG) {
            entries.push_back({message, wParam, lParam});
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class RecordingThreadTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(InstallBuiltInCompressors());
        settings.ShowMouseDown = 0;
        TheRecordingState.RecordingActive = 0;
        TheRecordingState.AudioThreadActive = 0;
        TheRecordingState.Pause.Release();
    }
    void TearDown() override { FrameBlockAlloc = GlobalAlloc; }

    // Starts a recording of the rectangle (inclusive corners) as the controller would.
    void Start(const std::string& file, RECT rect, const ICINFO* compressor = nullptr,
               int interval = 100, StageTimes* timings = nullptr) {
        auto* thread = AfxBeginThread<CRcdAviThread>(THREAD_PRIORITY_HIGHEST, 0, CREATE_SUSPENDED);
        ASSERT_NE(thread, nullptr);
        auto job = std::make_shared<RecordingJob>();
        job->FileName = file;
        job->CaptureRect = rect;
        job->RecordInterval = interval;
        job->ShowBorder = 0;
        job->ShowCursor = 0;
        if (compressor) job->Compressor = *compressor;
        job->MainWindow = log.GetSafeHwnd();
        job->Settings = &settings;
        job->Timings = timings;
        thread->Job = job;
        TheRecordingState.Begin();
        thread->ResumeThread();
    }
    void Stop() {
        TheRecordingState.RecordingActive = 0;
        TheRecordingState.Pause.Release();
    }
    bool WaitForEnd(DWORD timeoutMs = 30000) {
        return WaitUntil([&] { return log.Received(WM_USER_GENERIC_MSG); }, timeoutMs);
    }
    // Lets the recording run until it has written at least n frames.
    bool WaitForFrames(WPARAM n) {
        return WaitUntil([&] {
            return std::any_of(log.entries.begin(), log.entries.end(), [&](const auto& e) {
                return e.message == WM_RECORD_STATUS && e.wParam >= n;
            });
        });
    }

    RecordSettings settings;
    MessageLog log;
};

bool AcceptAll(const BITMAPINFOHEADER&) { return true; }

// The positions of a film that hold a frame, and how many there are.
std::vector<LONG> StoredPositions(const AviContents& v) {
    std::vector<LONG> stored;
    for (size_t i = 0; i < v.samples.size(); ++i)
        if (!v.samples[i].data.empty()) stored.push_back(static_cast<LONG>(i));
    return stored;
}
size_t StoredFrames(const AviContents& v) { return StoredPositions(v).size(); }

}  // namespace

TEST_F(RecordingThreadTest, RecordsTheRectangleWithTheDefaultCompressor) {
    const std::string path = TempPath("plain.avi");
    Start(path, {100, 80, 419, 319});
    ASSERT_TRUE(WaitForFrames(10));
    Stop();
    ASSERT_TRUE(WaitForEnd());
    EXPECT_FALSE(log.Received(WM_USER_RECORDINTERRUPTED_MSG));
    EXPECT_EQ(log.Messages().back(), WM_USER_GENERIC_MSG);
    const AviContents v = ReadAvi(path);
    ASSERT_TRUE(v.hasVideo);
    EXPECT_EQ(v.videoFormat.biWidth, 320);
    EXPECT_EQ(v.videoFormat.biHeight, 240);
    EXPECT_EQ(v.video.dwRate, 10u);
    EXPECT_EQ(v.video.dwScale, 1u);
    EXPECT_EQ(v.videoFormat.biBitCount, 16);
    EXPECT_GE(v.length, 10);
    // Status messages carry the frames written and whole seconds.
    const auto& first = *std::find_if(log.entries.begin(), log.entries.end(),
                                      [](const auto& e) { return e.message == WM_RECORD_STATUS; });
    EXPECT_GE(first.wParam, 5u);
    EXPECT_EQ(first.lParam, 0);
}

TEST_F(RecordingThreadTest, UnwritableFileEndsWithTheErrorBoxAndBothMessages) {
    Start("c:\\no\\such\\folder\\clip.avi", {0, 0, 319, 239});
    // The file and the system's reason follow the first line.
    const std::string named = "Error|Error Creating AVI File\n\nc:\\no\\such\\folder\\clip.avi\n";
    const std::string box = AnswerMessageBox(IDOK);
    EXPECT_EQ(box.substr(0, named.size()), named);
    EXPECT_GT(box.size(), named.size() + 5) << box;
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(log.Messages(),
              (std::vector<UINT>{WM_USER_RECORDINTERRUPTED_MSG, WM_USER_GENERIC_MSG}));
}

TEST_F(RecordingThreadTest, FitsToAChosenCompressorAndOffersTheDefaultWhenItFails) {
    // Accepts only multiples of 4 and cannot compress, so opening the stream fails.
    FakeCompressor fussy("F4X4", [](const BITMAPINFOHEADER& in) {
        return in.biWidth % 4 == 0 && in.biHeight % 4 == 0;
    });
    const ICINFO info = fussy.Info();
    Start(TempPath("fussy.avi"), {10, 10, 110, 84}, &info);  // 101 x 75
    EXPECT_EQ(AnswerMessageBox(IDYES),
              "Note|Error recording AVI file using current compressor. Use default compressor ? ");
    ASSERT_TRUE(WaitForEnd());
    using Size = std::pair<long, long>;
    EXPECT_EQ(fussy.Queries(), (std::vector<Size>{{101, 75}, {102, 76}, {104, 76}}));
    EXPECT_EQ(log.Messages(), (std::vector<UINT>{WM_USER_RECORDINTERRUPTED_MSG,
                                                 WM_USER_RECORDSTART_MSG, WM_USER_GENERIC_MSG}));
}

TEST_F(RecordingThreadTest, DivCompressorsArePaddedToMultiplesOf4BeforeTheQuery) {
    FakeCompressor div("DIVX", AcceptAll);
    const ICINFO info = div.Info();
    Start(TempPath("div.avi"), {10, 10, 110, 59}, &info);  // 101 x 50
    EXPECT_FALSE(AnswerMessageBox(IDNO).empty());
    ASSERT_TRUE(WaitForEnd());
    using Size = std::pair<long, long>;
    EXPECT_EQ(div.Queries(), (std::vector<Size>{{104, 52}}));
}

TEST_F(RecordingThreadTest, RefusingOrMissingCompressorsFallBackToTheDefault) {
    FakeCompressor refusing("FNON", [](const BITMAPINFOHEADER&) { return false; });
    const ICINFO refusingInfo = refusing.Info();
    const std::string refused = TempPath("refused.avi");
    Start(refused, {10, 10, 110, 84}, &refusingInfo);  // 101 x 75: 8-aligned 104 x 80
    ASSERT_TRUE(WaitForFrames(2));
    Stop();
    ASSERT_TRUE(WaitForEnd());
    AviContents v = ReadAvi(refused);
    EXPECT_EQ(v.videoFormat.biWidth, 104);
    EXPECT_EQ(v.videoFormat.biHeight, 80);
    EXPECT_GE(v.length, 2);

    log.entries.clear();
    ICINFO missing{};
    missing.fccType = ICTYPE_VIDEO;
    missing.fccHandler = Fourcc("ZZZZ");
    const std::string fallback = TempPath("missing.avi");
    Start(fallback, {0, 0, 159, 119}, &missing);
    ASSERT_TRUE(WaitForFrames(2));
    Stop();
    ASSERT_TRUE(WaitForEnd());
    v = ReadAvi(fallback);
    EXPECT_EQ(v.videoFormat.biWidth, 160);
    EXPECT_GE(v.length, 2);
}

TEST_F(RecordingThreadTest, AWriterBehindRefusesTheNewestGrabsAndAStopWritesEveryQueuedOne) {
    GatedCompressor gate;
    const ICINFO info = gate.Info();
    StageTimes times;
    const std::string path = TempPath("behind.avi");
    Start(path, {0, 0, 159, 119}, &info, 20, &times);
    // One frame held in the compressor, the queue full behind it, and the
    // grabs after that refused rather than queued.
    ASSERT_TRUE(WaitUntil([&] { return gate.Arrived() == 1 && times.dropped.load() >= 3; }));
    Stop();
    gate.Open();
    ASSERT_TRUE(WaitForEnd());
    EXPECT_FALSE(log.Received(WM_USER_RECORDINTERRUPTED_MSG));
    const AviContents v = ReadAvi(path);
    ASSERT_TRUE(v.hasVideo);
    const std::vector<LONG> stored = StoredPositions(v);
    // The held frame and the three queued ones; a grab under
    // way when the stop came is finished and may take the slot the first
    // write frees, as the last grab before a stop always was written.
    EXPECT_GE(stored.size(), 4u);
    EXPECT_LE(stored.size(), 5u);
    EXPECT_EQ(stored.front(), 0);
    EXPECT_EQ(gate.Arrived(), static_cast<int>(stored.size()));
    EXPECT_EQ(times.compressMs.size(), stored.size());
}

TEST_F(RecordingThreadTest, PauseParksTheThreadAndTheFilmLeavesThePauseOut) {
    const std::string path = TempPath("paused.avi");
    const DWORD started = timeGetTime();
    Start(path, {0, 0, 319, 239});
    ASSERT_TRUE(WaitForFrames(5));

    const DWORD pauseStart = timeGetTime();
    TheRecordingState.Pause.RequestPause();
    ASSERT_TRUE(WaitUntil([] { return TheRecordingState.Pause.ParkedThreads() == 2; }));
    // The user interface keeps drawing while the recording is paused.
    auto drawing = std::async(std::launch::async, [] {
        for (int i = 0; i < 200; ++i) {
            HDC dc = GetDC(nullptr);
            HBRUSH brush = CreateSolidBrush(RGB(i, 0, 0));
            RECT r = {0, 0, 4, 4};
            FillRect(dc, &r, brush);
            DeleteObject(brush);
            ReleaseDC(nullptr, dc);
        }
        return true;
    });
    ASSERT_EQ(drawing.wait_for(std::chrono::seconds(20)), std::future_status::ready);
    const size_t messagesWhilePaused = log.entries.size();
    // The pause's length is part of the scenario: 1.5 s more, all of it with
    // the thread in its park and no frame reported.
    const DWORD watchStart = timeGetTime();
    EXPECT_TRUE(WaitUntilKeeping([&] { return timeGetTime() - watchStart >= 1500; },
                                 [&] {
                                     return TheRecordingState.Pause.ParkedThreads() == 2 &&
                                            log.entries.size() == messagesWhilePaused;
                                 },
                                 10000));
    EXPECT_EQ(log.entries.size(), messagesWhilePaused);

    TheRecordingState.PausedTime += timeGetTime() - pauseStart;
    TheRecordingState.Pause.Release();
    const size_t before = log.entries.size();
    ASSERT_TRUE(WaitUntil([&] { return log.entries.size() > before + 1; }));
    Stop();
    ASSERT_TRUE(WaitForEnd());
    const DWORD recorded = timeGetTime() - started - TheRecordingState.PausedTime.load();
    const AviContents v = ReadAvi(path);
    // One position per 100 ms recorded, the pause left out.
    EXPECT_NEAR(v.length, recorded / 100.0, 4.0);
}

TEST_F(RecordingThreadTest, AFrameThatCannotBeAllocatedEndsTheRecordingWithAClosedFile) {
    // The writing side is held, so no written block comes back for the next
    // grabs: after the probe, the frame in the compressor and the two
    // queued behind it, the next grab needs a new block, and gets none.
    static std::atomic<int> allocations{0};
    allocations = 0;
    FrameBlockAlloc = [](UINT flags, SIZE_T bytes) -> HGLOBAL {
        return ++allocations > 4 ? nullptr : GlobalAlloc(flags, bytes);
    };
    GatedCompressor gate;
    const ICINFO info = gate.Info();
    const std::string path = TempPath("short.avi");
    Start(path, {0, 0, 319, 239}, &info, 20);
    EXPECT_EQ(AnswerMessageBox(IDOK), "Error|Error reading a frame!");
    gate.Open();
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(log.Messages().back(), WM_USER_GENERIC_MSG);
    EXPECT_TRUE(log.Received(WM_USER_RECORDINTERRUPTED_MSG));
    EXPECT_EQ(TheRecordingState.RecordingActive.load(), 0);
    // No second box: the failure was reported once.
    EXPECT_TRUE(AnswerMessageBox(IDOK, 500).empty());
    const AviContents v = ReadAvi(path);
    ASSERT_TRUE(v.hasVideo);
    EXPECT_EQ(StoredFrames(v), 3u);  // what was grabbed before is all in the file
}

TEST_F(RecordingThreadTest, ALongRecordingUsesAHandfulOfFrameBlocksOverAndOver) {
    static std::atomic<int> allocations{0};
    allocations = 0;
    FrameBlockAlloc = [](UINT flags, SIZE_T bytes) -> HGLOBAL {
        ++allocations;
        return GlobalAlloc(flags, bytes);
    };
    const std::string path = TempPath("reused.avi");
    Start(path, {0, 0, 319, 239}, nullptr, 20);
    ASSERT_TRUE(WaitForFrames(40));
    Stop();
    ASSERT_TRUE(WaitForEnd());
    EXPECT_GE(StoredFrames(ReadAvi(path)), 40u);
    // The probe, and at most one block for each frame that can be on its
    // way at once: one grabbed, three queued, one being written.
    EXPECT_LE(allocations.load(), 6);
}

TEST_F(RecordingThreadTest, AudioThreadWaitsForTheFileAndEndsWhenThereIsNone) {
    TheRecordingState.Begin();
    auto* audio = AfxBeginThread<CRcdAudioThread>(THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    auto job = std::make_shared<RecordingJob>();
    job->RecordAudio = true;
    audio->Job = job;
    audio->ResumeThread();
    ASSERT_TRUE(WaitUntil([] { return TheRecordingState.AudioThreadActive.load() == 1; }));
    // Still waiting: the video thread has not settled the file yet.
    EXPECT_FALSE(WaitUntil([] { return TheRecordingState.AudioFinished.IsSet(); }, 300));
    TheRecordingState.RecordingActive = 0;
    TheRecordingState.FileSettled.Set();
    EXPECT_TRUE(WaitUntil([] { return TheRecordingState.AudioFinished.IsSet(); }));
    EXPECT_EQ(TheRecordingState.AudioThreadActive.load(), 0);
}

TEST_F(RecordingThreadTest, AProbeThatCannotBeAllocatedEndsBeforeAnyFileIsMade) {
    FrameBlockAlloc = [](UINT, SIZE_T) -> HGLOBAL { return nullptr; };
    const std::string path = FreshTempPath("never.avi");
    Start(path, {0, 0, 319, 239});
    EXPECT_EQ(AnswerMessageBox(IDOK), "Error|Error reading a frame!");
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(log.Messages(),
              (std::vector<UINT>{WM_USER_RECORDINTERRUPTED_MSG, WM_USER_GENERIC_MSG}));
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
    // The AVI layer is left as it was: a later recording still works.
    FrameBlockAlloc = GlobalAlloc;
    log.entries.clear();
    Start(path, {0, 0, 319, 239});
    ASSERT_TRUE(WaitForFrames(2));
    Stop();
    ASSERT_TRUE(WaitForEnd());
    EXPECT_GE(ReadAvi(path).length, 2);
}
