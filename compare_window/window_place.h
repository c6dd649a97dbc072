// Where a top-level window goes back to: the arithmetic on plain rectangles
// behind saving and restoring the comparison window's position.
#pragma once

struct PlaceRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

inline bool operator==(const PlaceRect& a, const PlaceRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// GetWindowPlacement counts from the work area's corner, the rest of the
// system from the monitor's: the rectangle in screen co-ordinates.
PlaceRect WorkspaceToScreen(const PlaceRect& rect, const PlaceRect& workArea, const PlaceRect& monitor);

// A rectangle moved (and if need be shrunk) so that it lies inside the work area.
PlaceRect BringInside(const PlaceRect& rect, const PlaceRect& workArea);
