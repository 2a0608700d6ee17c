// How the status bar's panes share its width; no <windows.h>, so that the
// arithmetic is tested natively.
#pragma once

#include <vector>

struct StatusPane {
    int width;      // pixels; for a stretching pane, the least it keeps
    bool stretch;   // takes what the fixed panes leave
    bool popOut;    // drawn with a raised border
};

// The right edge of every pane for a bar of barWidth pixels. The stretching
// pane (at most one) takes the width the fixed panes leave, but never less
// than its own width.
std::vector<int> PaneRightEdges(const std::vector<StatusPane>& panes, int barWidth);

// The width a pane needs so that the widest of its texts (in pixels of the
// bar's font) is shown whole inside the pane's margins, but never less than
// its least width.
int PaneWidthForTexts(const std::vector<int>& textWidths, int margins, int least);
