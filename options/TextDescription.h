// The text dialog's description of its font, kept free of <windows.h> so it
// is tested natively.
#pragma once

#include <string>

#include "settings/RecordSettings.h"

// "Font Name: <face> \nFont Size: <|lfHeight|>". The face name is read up to
// its terminator or the end of its 32-byte field, whichever comes first: a
// record loaded from the profile need not be terminated.
std::string DescribeFont(const FontRecord& font);
