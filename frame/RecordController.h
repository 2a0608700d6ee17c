// The recording controller of the main window: start, pause, resume and
// stop, and the messages by which the selection window and the recording
// threads report back. The window routes its Record commands, hotkeys and
// those messages here.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "engine/RecordingJob.h"
#include "frame/TrayIcon.h"
#include "framework/FrameWnd.h"
#include "framework/StatusBar.h"
#include "framework/Wnd.h"
#include "options/CompressorCatalogue.h"
#include "options/OutputFileDlg.h"
#include "region/MouseCaptureWnd.h"
#include "settings/RecordSettings.h"

class ProfileStore;

// What the main window and its controller work with; the application
// object owns each of them and outlives the window.
struct RecorderParts {
    RecordSettings& settings;
    const CompressorCatalogue& compressors;
    CMouseCaptureWnd& selection;
    ProfileStore& profile;
    OutputFiles& files;
};

class CRecordController {
public:
    // window: the main window, which gets the messages; tray and status
    // belong to it. Nothing is used before the window exists.
    CRecordController(CFrameWnd& window, RecorderParts parts, CTrayIcon& tray, CStatusBar& status);

    void Start();  // also resumes a paused recording
    void Pause();
    void Stop();  // also calls off a start that is still choosing its region

    // Start is offered while nothing runs or while paused; Pause while running.
    bool Running() const { return m_running != 0; }
    // Whether the window may close now: not while recording (the user is
    // told), and not before a stopped recording has finished its file (the
    // window closes by itself once it has).
    bool MayClose();
    // The selected region's top-left corner on the screen.
    POINT RegionOrigin() const { return m_regionOrigin; }

    // True when the message was the controller's; result is its answer.
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    bool HaveSavePath();
    void ChooseRegion();
    void OnRegionSelected(WPARAM wParam, LPARAM lParam);
    void OnRegionCancelled();
    void OnTimer(UINT_PTR id);
    std::shared_ptr<RecordingJob> MakeJob(const std::string& file) const;
    // The file the recording goes to: the save path, or a free name beside
    // it unless the user agreed to replace it; empty when there is none.
    bool RecordsMp4() const;
    std::string TakeFileName();
    void StartRecording();
    // A start that failed before any frame: the main window back, the message.
    void FailStart(const char* message);
    void ShowMainWindow(bool inFront);
    void ShowTray();
    void OnRecordStatus(WPARAM wParam, LPARAM lParam);
    void OnRecordInterrupted(WPARAM wParam);
    static void OnSaveCursor(WPARAM cursor, LPARAM mouseMessage);
    void OnRecordEnded();
    void OnRecordStartAccepted();
    void PostStatus(int code);
    HWND Window() const { return m_window.GetSafeHwnd(); }

    CFrameWnd& m_window;
    RecorderParts m_parts;
    CTrayIcon& m_tray;
    CStatusBar& m_status;
    POINT m_regionOrigin{};
    uint32_t m_pauseStartTime = 0;
    int32_t m_running = 0;
    // Between a start and the recording thread's last message; a start or a
    // close in that time waits for the recording to finish its file.
    bool m_threadsAtWork = false;
    bool m_startHeld = false;
    bool m_closeHeld = false;
    bool m_hookInstalled = false;
    // From a start until its region is chosen (or the choice called off)
    // and, after that, until the start timer has fired.
    bool m_selecting = false;
    bool m_startTimerSet = false;
    // The start hid the main window, which comes back if the start fails.
    bool m_windowWasShown = false;
    // The recording ending now never had a frame: its status stays "Start failed".
    bool m_startFailed = false;
};
