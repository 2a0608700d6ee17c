#include "frame/AboutDlg.h"

#include "frame/ShellCommands.h"
#include "res/resource.h"
#include "third_party/EncoderVersions.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

BOOL CAboutDlg::OnInitDialog() {
    SetDlgItemTextA(m_hWnd, IDC_ABOUT_LIBRARIES,
                    "Recording to MP4 uses " BRANTLE_X264_NAME " " BRANTLE_X264_VERSION
                    " (" BRANTLE_X264_LICENCE_ID ") and " BRANTLE_AACENC_NAME
                    " " BRANTLE_AACENC_VERSION " (" BRANTLE_AACENC_LICENCE_ID
                    "); their licences and sources come with the program.");
    return CDialog::OnInitDialog();
}

void CAboutDlg::OnCancel() { OpenWebsite(); }
