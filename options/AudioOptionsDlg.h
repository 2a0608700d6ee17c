// The "Audio Options" dialog: the PCM format sound is recorded in, chosen
// from the candidates the capture device supports.
#pragma once

#include <windows.h>

#include "framework/Dialog.h"
#include "framework/ListBox.h"
#include "options/AudioFormats.h"

class ProfileStore;
struct RecordSettings;

class CAudioOptionsDlg : public CDialog {
public:
    explicit CAudioOptionsDlg(const SupportedFormats& supported);

    CListBox FormatList;  // one line per supported candidate, its index as item data
    int ChosenIndex = 0;  // candidate 0..15; -1: none

protected:
    void DoDataExchange(CDataExchange& dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    SupportedFormats m_supported;
};

// Shows the dialog with the format recordings use now selected: the stored
// AudioFormat when the device supports it, else the one start-up fell back
// to. On OK the choice becomes the capture format and every setting is
// saved, and the result is true; on Cancel nothing changes.
bool EditAudioFormat(RecordSettings& settings, const SupportedFormats& supported,
                     ProfileStore& profile, HWND owner);
