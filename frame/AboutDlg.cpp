#include "frame/AboutDlg.h"

#include "frame/ShellCommands.h"
#include "res/resource.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

void CAboutDlg::OnCancel() { OpenWebsite(); }
