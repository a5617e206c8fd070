// When the window system cannot be used (no X server at $DISPLAY, no Wayland
// compositor, an unknown QT_QPA_PLATFORM), Qt prints several lines about
// plugins and calls qFatal(), which aborts with a core dump. Arm a
// DisplayGuard around the construction of the QApplication to print one line
// and exit with status 1 instead. A missing X display is described in plain
// words, any other failure in Qt's own words. Qt's other messages from that
// time are held back and passed on when the guard is disarmed.
#pragma once

class DisplayGuard {
  public:
    DisplayGuard();   // installs the message handler
    ~DisplayGuard();  // calls Disarm()
    DisplayGuard(const DisplayGuard&) = delete;
    DisplayGuard& operator=(const DisplayGuard&) = delete;

    // Restores Qt's previous message handler and passes it the held messages.
    void Disarm();

  private:
    bool armed_ = true;
};
