#include "options/GeneralOptions.h"

GeneralOptions OptionsFromSettings(const RecordSettings& settings) {
    GeneralOptions o;
    o.playAfter = settings.AutoPlay;
    o.blink = settings.Blink;
    o.minimize = settings.Minimize;
    o.cursor = settings.ShowCursor;
    o.height = settings.Height;
    o.width = settings.Width;
    o.region = settings.RegionType;
    o.mouseClick = settings.ShowMouseDown;
    o.audio = settings.RecordAudio;
    o.text = settings.ShowText;
    o.layered = settings.LayeredCapture;
    return o;
}

void ApplyOptions(const GeneralOptions& options, RecordSettings& settings) {
    settings.AutoPlay = options.playAfter;
    settings.Minimize = options.minimize;
    settings.Blink = options.blink;
    settings.ShowCursor = options.cursor;
    settings.ShowMouseDown = options.mouseClick;
    settings.RegionType = options.region;
    settings.RecordAudio = options.audio;
    settings.ShowText = options.text;
    if (options.region == RegionFixed) {
        settings.Height = options.height;
        settings.Width = options.width;
    }
    settings.LayeredCapture = options.layered;
}

void SetDefaultOptions(GeneralOptions& options) {
    options.playAfter = 0;
    options.blink = 1;
    options.minimize = 1;
    options.cursor = 1;
    options.region = RegionWindow;
    options.mouseClick = 0;
    options.audio = 1;
    options.text = 1;
    options.layered = 0;
}

void TakeSelectedSize(GeneralOptions& options, const PixelRect& inclusive) {
    options.width = inclusive.right - inclusive.left + 1;
    options.height = inclusive.bottom - inclusive.top + 1;
}
