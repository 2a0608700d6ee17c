// The "Set output file" dialog: the path the next recording is saved to,
// typed, chosen in a save dialog, or the default in the current folder.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Dialog.h"

class ProfileStore;
struct RecordSettings;

// The files recordings go to, beyond the save path in the settings.
struct OutputFiles {
    // A path the user agreed to replace in the dialog: the next recording
    // to it replaces the file instead of taking a free name beside it.
    std::string replaceAgreed;
    // The file the last recording wrote, for Play, AutoPlay and Convert.
    std::string lastWritten;

    // The file the last recording wrote, or the save path before any.
    const std::string& Recorded(const std::string& savePath) const {
        return lastWritten.empty() ? savePath : lastWritten;
    }
};

class COutputFileDlg : public CDialog {
public:
    COutputFileDlg();

    std::string Path;
    // The path on OK when it names an existing file the user agreed to
    // replace; empty otherwise.
    std::string ReplaceAgreed;
    // The chosen compressor records MP4: the browser and Default offer .mp4.
    bool Mp4 = false;

protected:
    BOOL OnCommand(WORD id, WORD code) override;
    void DoDataExchange(CDataExchange& dx) override;
    void OnOK() override;

private:
    void OnBrowse();
    void OnDefault();
    // The path the save dialog's own overwrite prompt agreed to.
    std::string m_browsedAgreed;
};

// Lets the user change the save path, offering `offered` when given instead
// of the current one; the settings are saved to the profile afterwards,
// whether the dialog was confirmed or cancelled. True when the user pressed
// OK on a name that is not empty.
bool EnterOutputFileName(RecordSettings& settings, ProfileStore& profile, OutputFiles& files,
                         HWND owner, const std::string& offered = {});

// Whether a file (not a folder) is at the path.
bool FileIsThere(const std::string& path);

// The file offered when none is set yet: testcap.avi in the user's Videos
// folder, which a program that asks for no elevation may write, unlike the
// root of C: (c:\testcap.avi, offered when there is no such folder).
std::string FirstRecordingPath();
