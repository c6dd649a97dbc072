// The directory window's resize table: each control's four edges follow the
// window's near edge, its centre or its far edge at a fixed distance captured
// when the window is set up. Pure arithmetic over rectangles, so it is tested
// without windows.
#pragma once

#include <array>

struct LayoutRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

enum AnchorEdge : int {
    ANCHOR_NEAR = 0,   // the window's left or top edge
    ANCHOR_CENTRE = 1, // the window's centre
    ANCHOR_FAR = 2,    // the window's right or bottom edge
};

struct LayoutAnchor {
    int id;
    int left, top, right, bottom; // AnchorEdge of each edge
    int offsets[4];               // pixels from the anchor, left, top, right, bottom
};

constexpr int LAYOUT_CONTROL_COUNT = 21;
using LayoutTable = std::array<LayoutAnchor, LAYOUT_CONTROL_COUNT>;

// The table of the directory window, offsets still zero.
LayoutTable DirectoryWindowLayout();

// The near edge, the centre (integer halving) or the far edge.
int AnchorPosition(int nearEdge, int farEdge, int anchor);
// Records the control's distance from its anchors in the window rectangle.
void CaptureOffsets(LayoutAnchor& anchor, const LayoutRect& window, const LayoutRect& control);
// Where the control goes in a window of the given rectangle (same co-ordinates).
LayoutRect PlaceControl(const LayoutAnchor& anchor, const LayoutRect& window);
