// The converter's window: the recording and the film's name, the quality,
// Convert with a progress bar and the time elapsed and left, Cancel, and
// Play and Open folder once the film is done. Started with a file on the
// command line it converts at once and closes when done.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "convert/Conversion.h"
#include "framework/Dialog.h"

class CConverterDlg : public CDialog {
public:
    CConverterDlg();
    ~CConverterDlg() override;

    std::string Source, Output;
    Quality ChosenQuality = Quality::Balanced;
    bool ConvertAtOnce = false;  // from the command line: no questions, close when done
    // After the dialog: whether the last conversion made its film.
    bool Converted() const { return m_converted; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WORD id, WORD code) override;
    void OnCancel() override;
    INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void SetSource(const std::string& path);
    void OnBrowseSource();
    void OnBrowseOutput();
    void OnConvert();
    void StartConversion();
    void OnProgress(int permille);
    void OnFinished();
    void ShowTimes();
    void SetBusy(bool busy);
    void SetState(const std::string& text);
    void OnDropFiles(HDROP drop);

    std::thread m_worker;
    std::atomic<bool> m_cancel{false};
    std::atomic<int> m_permille{0};
    ConversionResult m_result;
    bool m_busy = false;
    bool m_converted = false;
    std::chrono::steady_clock::time_point m_started;
};

// The About box's text: the program and the libraries in it, with their licences.
std::string ConverterAboutText();
