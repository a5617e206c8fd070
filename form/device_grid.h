// The form on a display of another density, in device pixels. Every edge of
// the form (a left, top, right or bottom) is rounded once, to the nearest
// device pixel, and a size on the display is the distance between its two
// rounded edges. Pieces that meet in the form therefore meet on the display at
// every density, with neither a gap nor an overlap; rounding a position and a
// size each on its own would leave a gap or an overlap of one device pixel at
// many densities.
#pragma once

#include "form.h"

namespace tarpo::form {

// Device pixels per form pixel: dpi / 96 on Windows, the device pixel ratio in
// Qt. The tolerance makes a scaled edge that lies exactly halfway, such as
// 12 × 100 / 96, round up although the ratio is not exact in binary.
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

// A length of the form that is not an edge, such as a frame's width.
constexpr int DeviceLength(int formLength, double ratio) { return DeviceEdge(formLength, ratio); }

}  // namespace tarpo::form
