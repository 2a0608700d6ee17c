// Data exchange for list controls: a combo box as its selected position, and
// a list box bound as a control object.
#pragma once

#include "framework/Dialog.h"
#include "framework/ListBox.h"

// When saving, index := the selected position, -1 when none is selected;
// otherwise the position index is selected (-1: none).
void DDX_CBIndex(CDataExchange& dx, int id, int& index);

// Ties the object to the dialog's control, in both directions of the pass.
void DDX_Control(CDataExchange& dx, int id, CListBox& control);
