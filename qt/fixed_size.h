// Keeps a fixed-size top-level window at its size, whatever the window system
// asks. Most window managers and compositors take equal minimum and maximum
// sizes as "not resizable" and offer no maximise; some do not: Weston
// maximises on request, and Qt's own Wayland title bar draws a maximise
// button for every window; a compositor may also maximise a window by a
// shortcut of its own. A maximised or full-screen window must then fill the
// size the compositor chose, or the compositor ends the connection.
#pragma once

class QWidget;

// Attaches the keeper to `topLevel` (it becomes the keeper's parent). Call it
// before the window is first shown.
void KeepFixedSize(QWidget* topLevel);
