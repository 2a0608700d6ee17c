// The About box. Its "Website" button carries the Cancel id, so Escape and
// the close box open the website too; only OK (or Enter) closes it. It
// names the encoders that MP4 recording links, with their licences.
#pragma once

#include "framework/Dialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
};
