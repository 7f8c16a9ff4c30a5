// The outline of the player window: a rounded bar ending in a round knob, as polygon points.
#pragma once

#include <vector>

struct RegionPoint {
    int x;
    int y;
};

// The 145 points of the player window's region polygon in window coordinates, in drawing
// order: the bar's rounded left end, its top edge into the knob, the knob's right side, the
// mirrored lower half and the closing copy of the first point. Some points repeat on purpose.
std::vector<RegionPoint> BuildWindowRegionPoints();
