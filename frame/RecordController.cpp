#include "frame/RecordController.h"

#include <mmsystem.h>

#include "engine/CompressorFitting.h"
#include "engine/RcdAudioThread.h"
#include "engine/RcdAviThread.h"
#include "engine/RecordingMessages.h"
#include "engine/RecordingState.h"
#include "frame/ControllerRules.h"
#include "framework/WinApp.h"
#include "hook/MouseHook.h"
#include "options/AudioCaptureDevice.h"
#include "options/OutputFileDlg.h"
#include "region/RegionMessage.h"

namespace {

constexpr UINT_PTR StartTimerId = 1;

RecordingState& State() { return TheRecordingState; }

}  // namespace

CRecordController::CRecordController(CWnd& window, RecorderParts parts, CTrayIcon& tray,
                                     CStatusBar& status)
    : m_window(window), m_parts(parts), m_tray(tray), m_status(status) {}

void CRecordController::PostStatus(int code) {
    PostMessageA(Window(), WM_RECORD_STATUS, static_cast<WPARAM>(code), 0);
}

void CRecordController::Start() {
    RecordSettings& settings = m_parts.settings;
    if (State().RecordingActive) {
        if (m_running) return;
        State().PausedTime += timeGetTime() - m_pauseStartTime;
        State().Pause.Release();
        m_running = 1;
        return;
    }
    if (m_threadsAtWork) {
        // The previous recording is still finishing its file.
        m_startHeld = true;
        return;
    }
    if (settings.SavePath.empty()) {
        AfxMessageBox("Not set output file name! \nPlease set the output file first!");
        settings.SavePath = FirstRecordingPath();
        EnterOutputFileName(settings, m_parts.profile, Window());
    }
    if (settings.SavePath.empty()) return;
    if (settings.Minimize) {
        ShowWindowAsync(Window(), SW_HIDE);
        Sleep(300);
    }
    ChooseRegion();
}

void CRecordController::ChooseRegion() {
    RecordSettings& settings = m_parts.settings;
    switch (settings.RegionType) {
        case RegionNormal:
            m_parts.selection.StartRubberBand(&m_window);
            break;
        case RegionFixed:
            m_parts.selection.StartFixedSize(&m_window, settings.Width, settings.Height);
            break;
        case RegionWindow:
            m_parts.selection.StartWindowPick(&m_window);
            break;
        default: {
            const RegionParams region = PackRegion(
                {0, 0, GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1});
            PostMessageA(Window(), WM_USER_REGIONSELECTED, region.wParam, region.lParam);
        }
    }
}

void CRecordController::OnRegionSelected(WPARAM wParam, LPARAM lParam) {
    const SelectedRegion region = RegionFromMessage(wParam, static_cast<uint64_t>(lParam));
    m_regionOrigin = {region.left, region.top};
    m_parts.settings.Width = region.width;
    m_parts.settings.Height = region.height;
    // Starts once the selection window has left the screen.
    SetTimer(Window(), StartTimerId, 100, nullptr);
}

void CRecordController::OnTimer(UINT_PTR id) {
    if (id != StartTimerId) return;
    KillTimer(Window(), StartTimerId);
    StartRecording();
}

std::shared_ptr<RecordingJob> CRecordController::MakeJob() const {
    const RecordSettings& settings = m_parts.settings;
    auto job = std::make_shared<RecordingJob>();
    job->FileName = settings.SavePath;
    const int left = m_regionOrigin.x, top = m_regionOrigin.y;
    job->CaptureRect = {left, top, left + settings.Width - 1, top + settings.Height - 1};
    job->VideoQuality = settings.VideoQuality;
    job->RecordInterval = settings.RecordInterval;
    job->KeyFrames = settings.KeyFrames;
    job->PlayRate = settings.PlayRate;
    job->ShowCursor = settings.ShowCursor;
    job->ShowBorder = settings.Blink;
    if (const ICINFO* chosen = m_parts.compressors.Chosen(settings.CurCompressor))
        job->Compressor = *chosen;
    job->MainWindow = Window();
    job->Settings = &settings;
    return job;
}

void CRecordController::StartRecording() {
    auto* video = AfxBeginThread<CRcdAviThread>(THREAD_PRIORITY_HIGHEST, 0, CREATE_SUSPENDED);
    if (!video) {
        AfxMessageBox("The recording could not be started: the system refused a new thread.");
        return;
    }
    // Both threads get the one job; whether it has sound is known before
    // the file is made, so the file's header has both streams from the start.
    const std::shared_ptr<RecordingJob> job = MakeJob();
    CRcdAudioThread* audio = nullptr;
    if (m_parts.settings.RecordAudio)
        audio = AfxBeginThread<CRcdAudioThread>(THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (audio) {
        job->RecordAudio = true;
        job->AudioDeviceId = CaptureDeviceId();
        job->AudioFormat = CurrentCaptureFormat();
        audio->Job = job;
    }
    video->Job = job;

    State().Begin();
    InstallMyHook(Window(), 0);
    m_hookInstalled = true;
    m_threadsAtWork = true;
    video->ResumeThread();
    if (audio) audio->ResumeThread();
    m_tray.Show(true);
    m_running = 1;
    PostStatus(StatusRecording);
}

void CRecordController::Pause() {
    if (!State().RecordingActive || !m_running) return;
    m_pauseStartTime = timeGetTime();
    State().Pause.RequestPause();
    m_running = 0;
    PostStatus(StatusPaused);
}

void CRecordController::Stop() {
    if (!State().RecordingActive) return;
    UninstallMyHook(Window());
    m_hookInstalled = false;
    State().RecordingActive = 0;
    m_running = 0;
    // Released after the flag is cleared, so a paused thread wakes to the
    // stop instead of recording one more frame.
    State().Pause.Release();
}

void CRecordController::OnRecordEnded() {
    m_threadsAtWork = false;
    // A recording that ended by a failure: what Stop would have done.
    if (m_hookInstalled) {
        UninstallMyHook(Window());
        m_hookInstalled = false;
    }
    m_running = 0;
    State().Pause.Release();

    const RecordSettings& settings = m_parts.settings;
    if (settings.AutoPlay)
        ShellExecuteA(Window(), "open", settings.SavePath.c_str(), "", "", SW_SHOW);
    m_tray.Show(State().RecordingActive != 0);
    PostStatus(StatusStopped);
    if (m_closeHeld) {
        m_closeHeld = m_startHeld = false;
        PostMessageA(Window(), WM_CLOSE, 0, 0);
    } else if (m_startHeld) {
        m_startHeld = false;
        Start();
    }
}

bool CRecordController::MayClose() {
    if (State().RecordingActive != 0) {
        AfxMessageBox("Recording, Please stop recording!");
        return false;
    }
    if (m_threadsAtWork) {
        // Stopped, but the file is still being finished: ending the process
        // now would cut it off. The window closes when the recording has ended.
        m_closeHeld = true;
        return false;
    }
    return true;
}

void CRecordController::OnRecordStatus(WPARAM wParam, LPARAM lParam) {
    const bool paused = State().RecordingActive && !m_running;
    const StatusPaneUpdate update =
        StatusForMessage(static_cast<int>(wParam), static_cast<int>(lParam), paused);
    m_status.SetPaneText(1, update.stateText.c_str());
    if (update.setProgress) m_status.SetPaneText(2, update.progressText.c_str());
}

void CRecordController::OnSaveCursor(WPARAM cursor, LPARAM mouseMessage) {
    State().HookCursor = reinterpret_cast<HICON__*>(cursor);
    const ClickStates now = ClickStatesAfter(static_cast<uint32_t>(mouseMessage),
                                             {State().LeftClickState, State().RightClickState});
    State().LeftClickState = now.left;
    State().RightClickState = now.right;
}

void CRecordController::OnRecordStartAccepted() {
    // The chosen compressor failed and the user took the default one: keep
    // to it for the following recordings.
    m_parts.settings.CurCompressor = -1;
    m_parts.settings.CurCompressorHandler = FourccMSVC;
}

bool CRecordController::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    if (message == WM_USER_REGIONSELECTED) {
        OnRegionSelected(wParam, lParam);
    } else if (message == WM_TIMER) {
        OnTimer(wParam);
        return false;  // the window's own handling goes on
    } else if (message == WM_RECORD_STATUS) {
        OnRecordStatus(wParam, lParam);
    } else if (message == WM_USER_SAVECURSOR_MSG) {
        OnSaveCursor(wParam, lParam);
    } else if (message == WM_USER_GENERIC_MSG) {
        OnRecordEnded();
    } else if (message == WM_USER_RECORDSTART_MSG) {
        OnRecordStartAccepted();
    } else if (message != WM_USER_RECORDINTERRUPTED_MSG) {
        return false;
    }
    return true;
}
