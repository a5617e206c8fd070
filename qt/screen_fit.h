// The window is laid out in pixels and scales as a whole with the display.
// If the scaled window would not fit the screen's work area, it uses
// form::FittingScale, the largest scale at which it fits.
#pragma once

#include <QtGlobal>
#include <optional>

// Returns the QT_SCALE_FACTOR to restart Qt with, or nothing when the window
// fits at the display's own scale. Needs the QApplication.
std::optional<qreal> FittingScaleFactor();
