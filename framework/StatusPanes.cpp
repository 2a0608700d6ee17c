#include "framework/StatusPanes.h"

#include <algorithm>

std::vector<int> PaneRightEdges(const std::vector<StatusPane>& panes, int barWidth) {
    int fixed = 0;
    for (const StatusPane& pane : panes)
        if (!pane.stretch) fixed += pane.width;
    std::vector<int> edges;
    int right = 0;
    for (const StatusPane& pane : panes) {
        right += pane.stretch ? std::max(pane.width, barWidth - fixed) : pane.width;
        edges.push_back(right);
    }
    return edges;
}

int PaneWidthForTexts(const std::vector<int>& textWidths, int margins, int least) {
    int widest = 0;
    for (int width : textWidths) widest = std::max(widest, width);
    return std::max(least, widest + margins);
}
