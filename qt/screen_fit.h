// The window is laid out in pixels and scales as a whole with the display.
// Where the scaled window would not fit the screen's work area, it takes the
// scale of form::FittingScale, the largest at which it fits.
#pragma once

#include <QtGlobal>
#include <optional>

// The QT_SCALE_FACTOR to start Qt again with, or nothing when the window fits
// at the display's own scale. Needs the QApplication.
std::optional<qreal> FittingScaleFactor();
