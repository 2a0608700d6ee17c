// The "Record Option" dialog: the video compressor, whose about box it can
// show, and the quality, key-frame, interval and play-rate values of the
// following recordings.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Dialog.h"
#include "options/RecordOptionValues.h"

class CompressorCatalogue;
class ProfileStore;
struct RecordSettings;

class CRecordOptionDlg : public CDialog {
public:
    explicit CRecordOptionDlg(const CompressorCatalogue& catalogue);

    RecordOptionValues Values;
    std::string QualityText;  // the slider's value as shown beside it

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WORD id, WORD code) override;
    void DoDataExchange(CDataExchange& dx) override;
    INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FillCompressorList();
    int SelectedPosition() const;
    // Enables "About ..." exactly when the selected compressor has an about box.
    void UpdateCompressorButtons();
    void OnAbout();
    void OnSelectionChange();
    void OnSliderMoved();

    const CompressorCatalogue& m_catalogue;
};

// Shows the dialog on a copy of the settings. On OK the values go back and
// every setting is saved, and the result is true; on Cancel nothing changes.
bool EditRecordOptions(RecordSettings& settings, const CompressorCatalogue& catalogue,
                       ProfileStore& profile, HWND owner);
