// The outline of the player window as polygon points.
#include "player/logic/WindowRegion.h"

#include <cmath>

namespace {

// The bar's left end is a half circle of radius 30 around (160, 200); the knob is a circle of
// radius 35 around (400, 200). The lower half mirrors the upper one about y = 200.
constexpr int kBarCentreX = 160;
constexpr int kBarRadius = 30;
constexpr int kKnobCentreX = 400;
constexpr int kKnobRadius = 35;
constexpr int kAxisY = 200;

// Every value is positive, so the conversion truncates toward zero as intended.
int Truncate(double v)
{
    return static_cast<int>(v);
}

double Root(int squared)
{
    return std::sqrt(static_cast<double>(squared));
}

}  // namespace

std::vector<RegionPoint> BuildWindowRegionPoints()
{
    std::vector<RegionPoint> points;
    points.reserve(145);

    // 0..59: the left half circle from its bottom (160, 230) up to (152, 171).
    for (int i = 0; i < 60; ++i) {
        const int dy = i - kBarRadius;
        points.push_back({Truncate(kBarCentreX - Root(kBarRadius * kBarRadius - dy * dy)),
                          kAxisY + kBarRadius - i});
    }

    // 60: where the bar's top edge (y = 170) meets the knob.
    const int knobR2 = kKnobRadius * kKnobRadius;
    points.push_back({Truncate(kKnobCentreX - Root(knobR2 - kBarRadius * kBarRadius)),
                      kAxisY - kBarRadius});

    // 61..65: the knob's upper left arc above the bar; 61 repeats 60.
    for (int y = 170; y >= 166; --y) {
        const int dy = y - kAxisY;
        points.push_back({Truncate(kKnobCentreX - Root(knobR2 - dy * dy)), y});
    }

    // 66: the top of the knob.
    points.push_back({kKnobCentreX, kAxisY - kKnobRadius});

    // 67..100: the knob's upper right quarter, down to (434, 199).
    for (int k = 1; k <= 34; ++k) {
        const int dy = kKnobRadius - k;
        points.push_back({Truncate(kKnobCentreX + Root(knobR2 - dy * dy)), kAxisY - kKnobRadius + k});
    }

    // 101: the knob's rightmost point.
    points.push_back({kKnobCentreX + kKnobRadius, kAxisY});

    // 102..143: points 100 down to 59 mirrored; 423 - 381 = 42 of them, the last being the
    // mirror of point 59, which is point 1 again.
    const int mirrored = 423 - points[60].x;
    for (int j = 0; j < mirrored; ++j) {
        const RegionPoint p = points[100 - j];
        points.push_back({p.x, 2 * kAxisY - p.y});
    }

    // 144: closes the outline on point 0.
    points.push_back(points[0]);
    return points;
}
