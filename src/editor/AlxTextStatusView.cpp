#include "editor/AlxTextStatusView.h"

AlxTextStatusView::AlxTextStatusView (AlxEditor* owner)
    : AlxStatusView (owner, 255, 35)
{
    setPreferredHeight (20);
}

bool AlxTextStatusView::handlePanelMessage (void* source, int code, std::uint32_t timeMs)
{
    return refreshOnEveryMessage (source, code, timeMs);
}

void AlxTextStatusView::refresh (bool skip)
{
    double time = 0.0;
    if (skip || ! findLastFiring (time) || ! readValuesAt (time))
        return;
    repaint();
}
