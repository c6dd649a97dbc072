#include "window_place.h"

#include <algorithm>

PlaceRect WorkspaceToScreen(const PlaceRect& rect, const PlaceRect& workArea, const PlaceRect& monitor)
{
    const int dx = workArea.left - monitor.left;
    const int dy = workArea.top - monitor.top;
    return { rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy };
}

PlaceRect BringInside(const PlaceRect& rect, const PlaceRect& workArea)
{
    const int width = std::min(rect.right - rect.left, workArea.right - workArea.left);
    const int height = std::min(rect.bottom - rect.top, workArea.bottom - workArea.top);
    const int left = std::clamp(rect.left, workArea.left, workArea.right - width);
    const int top = std::clamp(rect.top, workArea.top, workArea.bottom - height);
    return { left, top, left + width, top + height };
}
