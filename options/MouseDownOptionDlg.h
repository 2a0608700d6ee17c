// The "Mouse Down Option" dialog: the colours of the marks drawn where the
// left and the right button is pressed, shown as two swatches and chosen in
// the platform's colour dialog.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/Dialog.h"

struct RecordSettings;

class CMouseDownOptionDlg : public CDialog {
public:
    // OK writes the colours into these settings (not into the profile).
    explicit CMouseDownOptionDlg(RecordSettings& settings);

    uint32_t LeftColor = 0;  // 0x00BBGGRR
    uint32_t RightColor = 0;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WORD id, WORD code) override;
    INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ChooseColour(uint32_t& colour);
    void OnPaint();

    RecordSettings& m_settings;
};
