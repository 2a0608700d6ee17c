// The "Option" dialog: the recording switches, the kind of region recorded
// and the fixed region's size, which can be measured by dragging a
// rectangle with the selection window (the dialog and its owner leave the
// screen meanwhile, so that the user sees what lies beneath). It opens the
// click-colour and the text dialogs, which write their settings themselves.
#pragma once

#include <windows.h>

#include "framework/Dialog.h"
#include "options/GeneralOptions.h"

class CMouseCaptureWnd;
class ProfileStore;
struct RecordSettings;

class COptionDlg : public CDialog {
public:
    // The settings go to the "..." dialogs; the selection window measures the size.
    COptionDlg(RecordSettings& settings, CMouseCaptureWnd& selection);

    GeneralOptions Options;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WORD id, WORD code) override;
    void DoDataExchange(CDataExchange& dx) override;
    INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void EnableFixedSizeControls(bool enable);
    void OnRegionChoice();
    void OnSelect();
    void OnSelectTimer();
    void OnRegionSelected(WPARAM wParam, LPARAM lParam);
    void ShowAgain();
    void OnDefault();

    RecordSettings& m_settings;
    CMouseCaptureWnd& m_selection;
    bool m_ownerHidden = false;  // by Select..., shown again when the selection ends
};

// Lets the user change the switches and the region. On OK the settings take
// the dialog's values and every setting is saved to the profile; on Cancel
// neither happens (what the "..." dialogs confirmed stays in the settings).
void EditGeneralOptions(RecordSettings& settings, ProfileStore& profile,
                        CMouseCaptureWnd& selection, HWND owner);
