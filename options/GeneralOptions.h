// What the "Option" dialog edits, and the rules by which its values come
// from and go back to the settings. Kept free of <windows.h> so that the
// rules are tested natively.
#pragma once

#include "framework/PixelRect.h"
#include "settings/RecordSettings.h"

// The dialog's members. A new dialog holds these initial values until the
// settings are copied in; check boxes hold 0 or 1.
struct GeneralOptions {
    int minimize = 0;
    int cursor = 0;
    int layered = 0;
    int blink = 0;
    int mouseClick = 0;
    int text = 0;
    int audio = 0;
    int playAfter = 0;
    int region = -1;  // position in the radio group: a RegionTypeValue
    int width = 0;
    int height = 0;
};

GeneralOptions OptionsFromSettings(const RecordSettings& settings);

// The confirmed dialog's values into the settings; the size only when the
// fixed region is chosen, so a size typed for another choice is dropped.
void ApplyOptions(const GeneralOptions& options, RecordSettings& settings);

// "Default": every switch and the region type; the size is left as it is.
void SetDefaultOptions(GeneralOptions& options);

// Whether "Select ..." and the size fields are usable.
inline bool FixedSizeEditable(const GeneralOptions& options) {
    return options.region == RegionFixed;
}

// The size of a selected inclusive rectangle becomes the fixed size.
void TakeSelectedSize(GeneralOptions& options, const PixelRect& inclusive);
