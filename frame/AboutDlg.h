// The About box. Its "Website" button carries the Cancel id, so Escape and
// the close box open the website too; only OK (or Enter) closes it.
#pragma once

#include "framework/Dialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();

protected:
    void OnCancel() override;
};
