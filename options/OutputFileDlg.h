// The "Set output file" dialog: the path the next recording is saved to,
// typed, chosen in a save dialog, or the default in the current folder.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Dialog.h"

class ProfileStore;
struct RecordSettings;

class COutputFileDlg : public CDialog {
public:
    COutputFileDlg();

    std::string Path;

protected:
    BOOL OnCommand(WORD id, WORD code) override;
    void DoDataExchange(CDataExchange& dx) override;

private:
    void OnBrowse();
    void OnDefault();
};

// Lets the user change the save path; the settings are saved to the
// profile afterwards, whether the dialog was confirmed or cancelled.
void EnterOutputFileName(RecordSettings& settings, ProfileStore& profile, HWND owner);

// The file offered when none is set yet: testcap.avi in the user's Videos
// folder, which a program that asks for no elevation may write, unlike the
// root of C: (c:\testcap.avi, offered when there is no such folder).
std::string FirstRecordingPath();
