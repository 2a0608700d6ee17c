// Resource numbers, shared by Brantle.rc and the code that loads them.
#pragma once

// The selection window's cursor: a cross with a pencil, 32 x 32, hot spot (16, 15).
#define IDC_SELECTION_CURSOR 133
