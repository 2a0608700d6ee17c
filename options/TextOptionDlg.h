// The "Text" dialog: the line of text drawn into every frame, where it goes,
// and its font and colour, chosen in the platform's font dialog.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Dialog.h"
#include "settings/RecordSettings.h"

struct RecordingState;

// Writes the overlay's font, position and text into the settings while a
// recording may be drawing them: under the state's text lock.
void StoreTextOverlay(RecordSettings& settings, RecordingState& state, const FontRecord& font,
                      int x, int y, const std::string& text);

class CTextOptionDlg : public CDialog {
public:
    // OK writes the text, position and font into these settings (not into
    // the profile); a colour chosen in the font dialog goes there at once.
    explicit CTextOptionDlg(RecordSettings& settings);

    FontRecord Font{};
    std::string Text;
    int X = 0;
    int Y = 0;
    std::string Description;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WORD id, WORD code) override;
    void DoDataExchange(CDataExchange& dx) override;

private:
    void OnFont();

    RecordSettings& m_settings;
};
