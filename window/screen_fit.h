// The window is laid out in pixels and scales as a whole with the display.
// Where the scaled window would not fit the screen's work area, it takes the
// largest scale at which it fits (in quarter steps, not below 1): the whole
// form and every picture whole, rather than a window cut off at the edge.
#pragma once

#include <QtGlobal>
#include <optional>

// The QT_SCALE_FACTOR to start Qt again with, or nothing when the window fits
// at the display's own scale. Needs the QApplication.
std::optional<qreal> FittingScaleFactor();
