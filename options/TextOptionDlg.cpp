#include "options/TextOptionDlg.h"

#include <commdlg.h>

#include <cstring>
#include <mutex>

#include "engine/RecordingState.h"
#include "options/TextDescription.h"
#include "res/resource.h"

static_assert(sizeof(FontRecord) == sizeof(LOGFONTA), "the font is a LOGFONTA");

void StoreTextOverlay(RecordSettings& settings, RecordingState& state, const FontRecord& font,
                      int x, int y, const std::string& text) {
    std::lock_guard<std::mutex> guard(state.TextLock);
    settings.TextFont = font;
    settings.TextPosX = x;
    settings.TextPosY = y;
    settings.TextString = text;
}

CTextOptionDlg::CTextOptionDlg(RecordSettings& settings)
    : CDialog(IDD_TEXT_OPTION), m_settings(settings) {}

void CTextOptionDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Text(dx, IDC_TEXT_STRING, Text);
    DDX_Text(dx, IDC_TEXT_X, X);
    DDX_Text(dx, IDC_TEXT_Y, Y);
    DDX_Text(dx, IDC_TEXT_DESCRIPTION, Description);
}

BOOL CTextOptionDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    Font = m_settings.TextFont;
    X = m_settings.TextPosX;
    Y = m_settings.TextPosY;
    Text = m_settings.TextString;
    Description = DescribeFont(Font);
    UpdateData(FALSE);
    return TRUE;
}

void CTextOptionDlg::OnOK() {
    if (!UpdateData(TRUE)) return;
    StoreTextOverlay(m_settings, TheRecordingState, Font, X, Y, Text);
    EndDialog(IDOK);
}

BOOL CTextOptionDlg::OnCommand(WORD id, WORD code) {
    if (id != IDC_TEXT_FONT || code != BN_CLICKED) return FALSE;
    OnFont();
    return TRUE;
}

void CTextOptionDlg::OnFont() {
    // Keeps what was typed across the refresh below; a refused number has
    // been reported and its field shows the last accepted value afterwards.
    UpdateData(TRUE);
    LOGFONTA font;
    std::memcpy(&font, &Font, sizeof font);
    CHOOSEFONTA choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = m_hWnd;  // so that this dialog waits while the font is chosen
    choice.lpLogFont = &font;
    choice.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
    choice.rgbColors = m_settings.TextColor;
    if (!ChooseFontA(&choice)) return;
    std::memcpy(&Font, &font, sizeof Font);
    {
        std::lock_guard<std::mutex> guard(TheRecordingState.TextLock);
        m_settings.TextColor = choice.rgbColors;
    }
    Description = DescribeFont(Font);
    UpdateData(FALSE);
}
