// Keeps a fixed-size top-level window at its size, whatever the window system
// asks. Most window managers treat equal minimum and maximum sizes as "not
// resizable" and offer no maximise button, but not all do: Weston maximises
// on request, Qt's own Wayland title bar always has a maximise button, and a
// compositor may maximise a window by a shortcut. A maximised or full-screen
// Wayland window must take the size the compositor chose, or the compositor
// closes the connection.
#pragma once

class QWidget;

// Attaches the keeper to `topLevel`, which becomes its parent. Call this
// before the window is first shown.
void KeepFixedSize(QWidget* topLevel);
