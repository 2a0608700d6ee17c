// Reading an integer typed into a control, kept free of <windows.h> so the
// rule is tested natively.
#pragma once

// True when text is a decimal integer that fits an int: blanks around it and
// one leading sign are allowed, nothing else. value is set only then.
bool ParseInteger(const char* text, int& value);
