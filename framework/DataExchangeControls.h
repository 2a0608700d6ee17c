// Data exchange for button controls: a check box as 0 or 1 (2 when a
// three-state box is indeterminate), and a group of radio buttons as the
// position of the checked one. Neither can fail.
#pragma once

#include "framework/Dialog.h"

// When saving, value := the box's check state; otherwise the box shows value.
void DDX_Check(CDataExchange& dx, int id, int& value);

// The group is the radio buttons that follow `firstId` in the tab order, up
// to the next control that starts a group (WS_GROUP); other controls between
// them are skipped. When saving, value := the position of the checked button,
// or -1 when none is checked; otherwise exactly the button at position value
// is checked (none for a position outside the group).
void DDX_Radio(CDataExchange& dx, int firstId, int& value);
