// When the window system cannot be used (no X server at $DISPLAY, no Wayland
// compositor, an unknown QT_QPA_PLATFORM), the platform plugin fails to load
// and Qt ends the program with qFatal(), that is abort() and a core dump, after
// several lines about plugins. While a DisplayGuard is armed, around the
// construction of the QApplication, such a failure prints one line instead and
// exits with status 1: a missing X display in plain words, any other failure
// in Qt's own, plugin by plugin. Qt's other messages of that time are held
// back, and passed on when the guard is disarmed.
#pragma once

class DisplayGuard {
  public:
    DisplayGuard();   // arms: installs the message handler
    ~DisplayGuard();  // Disarm()
    DisplayGuard(const DisplayGuard&) = delete;
    DisplayGuard& operator=(const DisplayGuard&) = delete;

    // Puts Qt's previous message handler back and hands it the held messages.
    void Disarm();

  private:
    bool armed_ = true;
};
