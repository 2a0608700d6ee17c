// The recording controller of the main window: start, pause, resume and
// stop, and the messages by which the selection window and the recording
// threads report back.
#include <windows.h>

#include <mmsystem.h>

#include "app/HalvexApp.h"
#include "engine/CompressorFitting.h"
#include "engine/RcdAudioThread.h"
#include "engine/RcdAviThread.h"
#include "engine/RecordingMessages.h"
#include "engine/RecordingState.h"
#include "frame/ControllerRules.h"
#include "frame/MainFrame.h"
#include "hook/MouseHook.h"
#include "options/OutputFileDlg.h"
#include "region/RegionMessage.h"

namespace {

constexpr UINT_PTR StartTimerId = 1;

CHalvexApp& App() { return CHalvexApp::Get(); }
RecordingState& State() { return TheRecordingState; }

}  // namespace

void CMainFrame::PostStatus(int code) {
    PostMessageA(m_hWnd, WM_RECORD_STATUS, static_cast<WPARAM>(code), 0);
}

void CMainFrame::OnRecordStart() {
    RecordSettings& settings = App().Settings;
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
        settings.SavePath = "c:\\testcap.avi";
        EnterOutputFileName(settings, App(), m_hWnd);
    }
    if (settings.SavePath.empty()) return;
    if (settings.Minimize) {
        ShowWindowAsync(m_hWnd, SW_HIDE);
        Sleep(300);
    }
    ChooseRegion();
}

void CMainFrame::ChooseRegion() {
    RecordSettings& settings = App().Settings;
    switch (settings.RegionType) {
        case RegionNormal:
            App().MouseCaptureWnd.StartRubberBand(this);
            break;
        case RegionFixed:
            App().MouseCaptureWnd.StartFixedSize(this, settings.Width, settings.Height);
            break;
        case RegionWindow:
            App().MouseCaptureWnd.StartWindowPick(this);
            break;
        default: {
            const RegionParams region = PackRegion(
                {0, 0, GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1});
            PostMessageA(m_hWnd, WM_USER_REGIONSELECTED, region.wParam, region.lParam);
        }
    }
}

void CMainFrame::OnRegionSelected(WPARAM wParam, LPARAM lParam) {
    const SelectedRegion region = RegionFromMessage(wParam, static_cast<uint64_t>(lParam));
    App().RegionLeft = region.left;
    App().RegionTop = region.top;
    App().Settings.Width = region.width;
    App().Settings.Height = region.height;
    // Starts once the selection window has left the screen.
    SetTimer(m_hWnd, StartTimerId, 100, nullptr);
}

void CMainFrame::OnRecordTimer(UINT_PTR id) {
    if (id != StartTimerId) return;
    KillTimer(m_hWnd, StartTimerId);
    StartRecording();
}

void CMainFrame::StartRecording() {
    const RecordSettings& settings = App().Settings;
    auto* video = AfxBeginThread<CRcdAviThread>(THREAD_PRIORITY_HIGHEST, 0, CREATE_SUSPENDED);
    if (!video) {
        AfxMessageBox("The recording could not be started: the system refused a new thread.");
        return;
    }
    State().VideoThread = video;
    video->ShowCursor = settings.ShowCursor;
    video->MainWindow = m_hWnd;
    video->RecordInterval = settings.RecordInterval;
    video->KeyFrames = settings.KeyFrames;
    video->PlayRate = settings.PlayRate;
    video->VideoQuality = settings.VideoQuality;
    video->Compressor = App().Compressors.Chosen(settings.CurCompressor);
    const int left = App().RegionLeft, top = App().RegionTop;
    video->CaptureRect = {left, top, left + settings.Width - 1, top + settings.Height - 1};
    video->ShowBorder = settings.Blink;
    video->FileName = settings.SavePath;
    video->Settings = &settings;

    // Made before the video thread runs, so that it knows whether to wait
    // for a sound stream; without a thread the recording goes on silent.
    CRcdAudioThread* audio = nullptr;
    if (settings.RecordAudio)
        audio = AfxBeginThread<CRcdAudioThread>(THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    video->RecordAudio = audio != nullptr;
    State().AudioThread = audio;

    State().LeftClickState = 0;
    State().RecordingActive = 1;
    State().RightClickState = 0;
    InstallMyHook(m_hWnd, 0);
    m_hookInstalled = true;
    m_threadsAtWork = true;
    video->ResumeThread();
    if (audio) audio->ResumeThread();
    m_trayIcon.Show(true);
    m_running = 1;
    PostStatus(StatusRecording);
}

void CMainFrame::OnRecordPause() {
    if (!State().RecordingActive || !m_running) return;
    m_pauseStartTime = timeGetTime();
    State().Pause.RequestPause();
    m_running = 0;
    PostStatus(StatusPaused);
}

void CMainFrame::OnRecordStop() {
    if (!State().RecordingActive) return;
    UninstallMyHook(m_hWnd);
    m_hookInstalled = false;
    State().RecordingActive = 0;
    m_running = 0;
    // Released after the flag is cleared, so a paused thread wakes to the
    // stop instead of recording one more frame.
    State().Pause.Release();
}

void CMainFrame::OnRecordEnded() {
    m_threadsAtWork = false;
    // A recording that ended by a failure: what Stop would have done.
    if (m_hookInstalled) {
        UninstallMyHook(m_hWnd);
        m_hookInstalled = false;
    }
    m_running = 0;
    State().Pause.Release();
    State().AudioThread = nullptr;
    State().VideoThread = nullptr;

    const RecordSettings& settings = App().Settings;
    if (settings.AutoPlay)
        ShellExecuteA(m_hWnd, "open", settings.SavePath.c_str(), "", "", SW_SHOW);
    m_trayIcon.Show(State().RecordingActive != 0);
    PostStatus(StatusStopped);
    if (m_closeHeld) {
        m_closeHeld = m_startHeld = false;
        PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
    } else if (m_startHeld) {
        m_startHeld = false;
        OnRecordStart();
    }
}

void CMainFrame::OnRecordStatus(WPARAM wParam, LPARAM lParam) {
    const bool paused = State().RecordingActive && !m_running;
    const StatusPaneUpdate update =
        StatusForMessage(static_cast<int>(wParam), static_cast<int>(lParam), paused);
    m_wndStatusBar.SetPaneText(1, update.stateText.c_str());
    if (update.setProgress) m_wndStatusBar.SetPaneText(2, update.progressText.c_str());
}

void CMainFrame::OnSaveCursor(WPARAM cursor, LPARAM mouseMessage) {
    State().HookCursor = reinterpret_cast<HICON__*>(cursor);
    const ClickStates now = ClickStatesAfter(static_cast<uint32_t>(mouseMessage),
                                             {State().LeftClickState, State().RightClickState});
    State().LeftClickState = now.left;
    State().RightClickState = now.right;
}

void CMainFrame::OnRecordStartAccepted() {
    // The chosen compressor failed and the user took the default one: keep
    // to it for the following recordings.
    App().Settings.CurCompressor = -1;
    App().Settings.CurCompressorHandler = FourccMSVC;
}

bool CMainFrame::ControllerMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    if (message == WM_USER_REGIONSELECTED) {
        OnRegionSelected(wParam, lParam);
    } else if (message == WM_TIMER) {
        OnRecordTimer(wParam);
        result = CFrameWnd::WindowProc(message, wParam, lParam);
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
