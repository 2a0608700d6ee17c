// Range checks that follow a field's data exchange.
#pragma once

#include "framework/Dialog.h"

// Follows the DDX_Text of the same field: when saving, a value outside
// minValue..maxValue fails the pass with a message naming both bounds, and
// the focus goes to that field. Does nothing once the pass has failed.
void DDV_MinMaxInt(CDataExchange& dx, int value, int minValue, int maxValue);
