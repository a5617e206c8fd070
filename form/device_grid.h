// Places the form on a display of another density, in device pixels. Every
// edge of the form (a left, top, right or bottom) is rounded once to the
// nearest device pixel, and a size on the display is the distance between its
// two rounded edges. So pieces that meet in the form also meet on the display
// at every density. Rounding a position and a size separately would leave a
// gap or an overlap of one device pixel at many densities.
#pragma once

#include <algorithm>
#include <cmath>

#include "form.h"

namespace tarpo::form {

// `ratio` is device pixels per form pixel: dpi / 96 on Windows, the device
// pixel ratio in Qt. The tolerance makes an edge that lies exactly halfway,
// such as 12 × 100 / 96, round up although the ratio is not exact in binary.
constexpr int DeviceEdge(int formEdge, double ratio) {
    constexpr double kHalfwayTolerance = 1e-9;
    const double nearest = formEdge * ratio + 0.5 + kHalfwayTolerance;
    const int truncated = static_cast<int>(nearest);
    return nearest < truncated ? truncated - 1 : truncated;  // the floor
}

constexpr Rect DeviceRect(const Rect& r, double ratio) {
    const int left = DeviceEdge(r.left, ratio);
    const int top = DeviceEdge(r.top, ratio);
    return {left, top, DeviceEdge(r.left + r.width, ratio) - left,
            DeviceEdge(r.top + r.height, ratio) - top};
}

// Scales a length that is not an edge, such as a frame's width.
constexpr int DeviceLength(int formLength, double ratio) { return DeviceEdge(formLength, ratio); }

// A sunken frame `width` device pixels wide is two rings of whole device
// pixels. The outer ring (dark at the top and left, light at the bottom and
// right) takes the odd pixel, and the inner ring gets the rest.
struct FrameRings {
    int outer;
    int inner;
};

constexpr FrameRings SunkenFrameRings(int width) { return {(width + 1) / 2, width / 2}; }

// A cell's focus ring in device pixels: its outer edge, rounded like every
// other edge, and the width of each band on the left and right (`bandX`) and
// on the top and bottom (`bandY`). `box` is the cell's box in form pixels;
// `floorX` and `floorY` are the platform's least width of a focus border.
struct DeviceFocusRing {
    Rect outer;
    int bandX;
    int bandY;
};

constexpr DeviceFocusRing CellFocusRing(const Rect& box, bool framed, double ratio, int floorX = 1,
                                        int floorY = 1) {
    const Rect ring = FocusRingRect(framed);
    const int band = DeviceLength(kCellFocusRing.band, ratio);
    return {DeviceRect({box.left + ring.left, box.top + ring.top, ring.width, ring.height}, ratio),
            std::max({band, floorX, 1}), std::max({band, floorY, 1})};
}

// Returns the scale at which to lay out the window on a display of `ratio`:
// `ratio` itself if the window fits the screen at it, else the largest lower
// scale in quarter steps, not below 1, at which it fits. A smaller whole form
// is better than a window cut off at the screen's edge. `fits(scale)` tells
// whether the window fits the screen at `scale`.
template <typename Fits>
double FittingScale(double ratio, Fits fits) {
    constexpr double kStep = 0.25;
    if (ratio <= 1 || fits(ratio)) return ratio;
    double scale = std::ceil(ratio / kStep - 1) * kStep;  // the next step down
    while (scale > 1 && !fits(scale)) scale -= kStep;
    return std::max(scale, 1.0);
}

}  // namespace tarpo::form
