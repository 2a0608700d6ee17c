// avi2mpg.exe: the converter's entry point. With /q and a file it converts
// without a window; with a file it converts at once, showing its progress;
// otherwise (or with /preset and a file) it opens its window.
#include <windows.h>

#include <commctrl.h>

#include "codecs/BuiltInCompressors.h"
#include "convert/ConverterDlg.h"
#include "framework/PathParts.h"

namespace {

// The recorder's save path, where the user's last recording most likely is;
// empty when the recorder makes MP4 films, which need no converting.
std::string RecorderSavePath() {
    char path[MAX_PATH] = "";
    DWORD size = sizeof path;
    if (RegGetValueA(HKEY_CURRENT_USER,
                     "Software\\Local AppWizard-Generated Applications\\Brantle for Windows\\Default",
                     "SavePath", RRF_RT_REG_SZ, nullptr, path, &size) != ERROR_SUCCESS)
        return {};
    return IsAviPath(path) ? std::string(path) : std::string();
}

constexpr char Usage[] =
    "\n\nUsage: avi2mpg.exe [/q] RECORDING.avi [FILM.mp4]\n"
    "/q converts without showing a window; the exit status tells whether it worked.";

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const CommandLine line = ParseCommandLine(SplitCommandLine(GetCommandLineA()));
    if (!line.error.empty()) {
        if (!line.quiet) MessageBoxA(nullptr, (line.error + Usage).c_str(), "Brantle Converter", MB_ICONWARNING);
        return 2;
    }
    // ZMBV and Video 1 recordings convert without any codec installed.
    InstallBuiltInCompressors();
    const std::string source = line.input.empty() ? RecorderSavePath() : line.input;
    const std::string output = line.output.empty() ? Mp4PathFor(source) : line.output;
    if (line.quiet) {
        const std::atomic<bool> never{false};
        return Convert({source, output, Quality::Balanced}, {}, never).done ? 0 : 1;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    CConverterDlg dialog;
    dialog.Source = source;
    dialog.Output = source.empty() ? std::string() : output;
    dialog.ConvertAtOnce = !line.input.empty() && !line.preset;
    if (dialog.DoModal(nullptr) < 0) return 1;
    return dialog.ConvertAtOnce && !dialog.Converted() ? 1 : 0;
}
