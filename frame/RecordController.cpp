#include "frame/RecordController.h"

#include <mmsystem.h>

#include "engine/CompressorFitting.h"
#include "engine/Mp4Recording.h"
#include "engine/RcdAudioThread.h"
#include "engine/RcdAviThread.h"
#include "engine/RecordingMessages.h"
#include "engine/RecordingState.h"
#include "frame/ControllerRules.h"
#include "frame/FreeFileName.h"
#include "framework/WinApp.h"
#include "hook/MouseHook.h"
#include "options/AudioCaptureDevice.h"
#include "options/OutputFileDlg.h"
#include "region/RegionMessage.h"

namespace {

constexpr UINT_PTR StartTimerId = 1;

RecordingState& State() { return TheRecordingState; }

}  // namespace

CRecordController::CRecordController(CFrameWnd& window, RecorderParts parts, CTrayIcon& tray,
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
        ShowTray();
        return;
    }
    if (m_selecting) return;  // this start is still choosing its region
    if (m_threadsAtWork) {
        // The previous recording is still finishing its file.
        m_startHeld = true;
        return;
    }
    if (!HaveSavePath()) return;
    m_windowWasShown = IsWindowVisible(Window()) != FALSE;
    if (settings.Minimize && m_windowWasShown) {
        ShowWindowAsync(Window(), SW_HIDE);
        Sleep(300);
    }
    m_selecting = true;
    ChooseRegion();
}

// Asks for the file when none is set; Cancel or an empty name starts nothing.
bool CRecordController::HaveSavePath() {
    RecordSettings& settings = m_parts.settings;
    if (!settings.SavePath.empty()) return true;
    AfxMessageBox("Not set output file name! \nPlease set the output file first!");
    return EnterOutputFileName(settings, m_parts.profile, m_parts.files, Window(),
                               FirstRecordingPath());
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
    m_startTimerSet = true;
}

void CRecordController::OnRegionCancelled() {
    m_selecting = false;
    ShowMainWindow(false);  // the user's window keeps the keyboard
}

void CRecordController::OnTimer(UINT_PTR id) {
    if (id != StartTimerId) return;
    KillTimer(Window(), StartTimerId);
    m_startTimerSet = false;
    m_selecting = false;
    StartRecording();
}

bool CRecordController::RecordsMp4() const {
    const ICINFO* chosen = m_parts.compressors.Chosen(m_parts.settings.CurCompressor);
    return chosen && IsH264Mp4Handler(chosen->fccHandler);
}

// The file's extension follows the container, whatever the setting says.
std::string CRecordController::TakeFileName() {
    OutputFiles& files = m_parts.files;
    const std::string path = WithContainerExtension(m_parts.settings.SavePath, RecordsMp4());
    if (!files.replaceAgreed.empty() && files.replaceAgreed == path) {
        files.replaceAgreed.clear();  // agreed for one recording
        return path;
    }
    return FreeFileName(path, FileIsThere);
}

std::shared_ptr<RecordingJob> CRecordController::MakeJob(const std::string& file) const {
    const RecordSettings& settings = m_parts.settings;
    auto job = std::make_shared<RecordingJob>();
    job->FileName = file;
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
    const std::string file = TakeFileName();
    if (file.empty()) {
        const std::string text = "Error Creating AVI File\n\n" + m_parts.settings.SavePath +
                                 "\nEvery numbered name beside it is taken.";
        FailStart(text.c_str());
        return;
    }
    auto* video = AfxBeginThread<CRcdAviThread>(THREAD_PRIORITY_HIGHEST, 0, CREATE_SUSPENDED);
    if (!video) {
        FailStart("The recording could not be started: the system refused a new thread.");
        return;
    }
    // Both threads get the one job; whether it has sound is known before
    // the file is made, so the file's header has both streams from the start.
    const std::shared_ptr<RecordingJob> job = MakeJob(file);
    m_parts.files.lastWritten = file;
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
    m_running = 1;
    ShowTray();
    m_window.SetIdleMessage(FileNamePart(file));
    PostStatus(StatusRecording);
}

void CRecordController::FailStart(const char* message) {
    ShowMainWindow(true);
    PostStatus(StatusStartFailed);
    AfxMessageBox(message);
}

// Brings the main window back after a start that hid it came to nothing;
// in front when a message follows.
void CRecordController::ShowMainWindow(bool inFront) {
    if (!m_windowWasShown) return;
    m_windowWasShown = false;
    ShowWindow(Window(), inFront ? SW_SHOW : SW_SHOWNA);
    if (inFront) SetForegroundWindow(GetLastActivePopup(Window()));
}

void CRecordController::ShowTray() {
    if (!State().RecordingActive)
        m_tray.Show(TrayState::Idle);
    else
        m_tray.Show(m_running ? TrayState::Recording : TrayState::Paused,
                    m_parts.files.lastWritten);
}

void CRecordController::Pause() {
    if (!State().RecordingActive || !m_running) return;
    m_pauseStartTime = timeGetTime();
    State().Pause.RequestPause();
    m_running = 0;
    ShowTray();
    PostStatus(StatusPaused);
}

void CRecordController::Stop() {
    if (m_startTimerSet) {
        KillTimer(Window(), StartTimerId);
        m_startTimerSet = false;
        OnRegionCancelled();
        return;
    }
    if (m_selecting) {
        m_parts.selection.CancelSelection();  // its message ends the start
        return;
    }
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
    if (settings.AutoPlay) {
        const std::string& file = m_parts.files.Recorded(settings.SavePath);
        ShellExecuteA(Window(), "open", file.c_str(), "", "", SW_SHOW);
    }
    ShowTray();
    if (!m_startFailed) PostStatus(StatusStopped);
    m_startFailed = false;
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

void CRecordController::OnRecordInterrupted(WPARAM wParam) {
    if (wParam != InterruptedBeforeFirstFrame) return;
    // The thread's message box follows, over the main window.
    m_startFailed = true;
    ShowMainWindow(true);
    PostStatus(StatusStartFailed);
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
    } else if (message == WM_USER_REGIONCANCELLED) {
        OnRegionCancelled();
    } else if (message == WM_USER_RECORDINTERRUPTED_MSG) {
        OnRecordInterrupted(wParam);
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
    } else {
        return false;
    }
    return true;
}
