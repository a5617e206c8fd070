// Watches an X display for the top-level window of a program it starts: when
// the window is mapped, and which parts of it the program draws, when (the
// XDamage extension reports every rectangle drawn into a window).
#pragma once

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <dirent.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

extern char** environ;

namespace benchx {

inline double NowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

[[noreturn]] inline void Die(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    std::exit(2);
}

struct Damaged {
    double atMs;  // when the report arrived, on NowMs()'s clock
    XRectangle area;
};

// A window id may be gone by the time a request about it arrives (Qt creates
// and destroys helper windows): such errors are expected and ignored.
inline int IgnoreXErrors(Display*, XErrorEvent*) { return 0; }

class DamageWatch {
  public:
    DamageWatch() {
        display_ = XOpenDisplay(nullptr);
        if (display_ == nullptr) Die("damage_watch: cannot open the display");
        int errorBase = 0;
        if (!XDamageQueryExtension(display_, &damageEventBase_, &errorBase))
            Die("damage_watch: the X server has no DAMAGE extension");
        int major = 1, minor = 1;
        XDamageQueryVersion(display_, &major, &minor);
        XSetErrorHandler(IgnoreXErrors);
        root_ = DefaultRootWindow(display_);
        netWmName_ = XInternAtom(display_, "_NET_WM_NAME", False);
        utf8_ = XInternAtom(display_, "UTF8_STRING", False);
        // New top-level windows and their mapping show up as events on the root.
        XSelectInput(display_, root_, SubstructureNotifyMask);
        XSync(display_, False);
    }
    ~DamageWatch() {
        Stop();
        XCloseDisplay(display_);
    }
    DamageWatch(const DamageWatch&) = delete;
    DamageWatch& operator=(const DamageWatch&) = delete;

    Display* display() const { return display_; }
    pid_t pid() const { return pid_; }
    double startMs() const { return startMs_; }
    Window target() const { return target_; }
    int width() const { return width_; }
    int height() const { return height_; }

    // Starts the program; the clock of the measurement starts just before.
    void Launch(char* const argv[]) {
        startMs_ = NowMs();
        if (posix_spawnp(&pid_, argv[0], nullptr, nullptr, argv, environ) != 0)
            Die(std::string("damage_watch: cannot start ") + argv[0]);
    }

    // Waits until a top-level window titled `title` is mapped; false on timeout.
    bool WaitForMappedWindow(const std::string& title, double timeoutMs) {
        title_ = title;
        const double deadline = NowMs() + timeoutMs;
        while (target_ == 0 || !windows_[target_].mapped) {
            if (!Pump(deadline)) return false;
        }
        XWindowAttributes attributes{};
        XGetWindowAttributes(display_, target_, &attributes);
        width_ = attributes.width;
        height_ = attributes.height;
        return true;
    }

    // Collects the damage reported on the target window until none has come
    // for `quietMs` and, when `needFullCover`, the reports cover the whole
    // window; false when `timeoutMs` runs out first.
    bool CollectUntilQuiet(double quietMs, double timeoutMs, bool needFullCover,
                           std::vector<Damaged>& out) {
        const double deadline = NowMs() + timeoutMs;
        const std::size_t first = damage_.size();
        for (;;) {
            const double lastDamage = damage_.size() > first ? damage_.back().atMs : -1;
            const double now = NowMs();
            const bool quiet = damage_.size() > first ? now - lastDamage >= quietMs
                                                      : now - collectSince_ >= quietMs;
            if (quiet && (!needFullCover || (damage_.size() > first && Covered(first) >= 1.0)))
                break;
            if (now >= deadline) return false;
            const double wakeAt =
                damage_.size() > first ? lastDamage + quietMs : collectSince_ + quietMs;
            Pump(std::min(deadline, std::max(wakeAt, now + 1)));
        }
        out.assign(damage_.begin() + static_cast<std::ptrdiff_t>(first), damage_.end());
        damage_.clear();
        collectSince_ = NowMs();
        return true;
    }

    // Drops the damage reported so far; quiet is counted from now.
    void Discard() {
        Pump(NowMs());
        damage_.clear();
        collectSince_ = NowMs();
    }

    // The share of the target window covered by damage_[first..].
    double Covered(std::size_t first) const {
        if (width_ <= 0 || height_ <= 0) return 0;
        std::vector<char> hit(static_cast<std::size_t>(width_) * height_, 0);
        for (std::size_t i = first; i < damage_.size(); ++i) Mark(damage_[i].area, hit);
        return static_cast<double>(std::count(hit.begin(), hit.end(), 1)) /
               static_cast<double>(hit.size());
    }

    // Peak resident memory of the program so far, in KiB (VmHWM), or -1.
    long PeakResidentKiB() const {
        std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
        }
        return -1;
    }

    // CPU time the program has used so far, all its threads, in ms (from the
    // scheduler's nanosecond counts), or -1.
    double CpuMs() const {
        const std::string tasks = "/proc/" + std::to_string(pid_) + "/task";
        DIR* dir = opendir(tasks.c_str());
        if (dir == nullptr) return -1;
        double ns = 0;
        while (const dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.') continue;
            std::ifstream schedstat(tasks + "/" + entry->d_name + "/schedstat");
            double onCpu = 0;
            if (schedstat >> onCpu) ns += onCpu;
        }
        closedir(dir);
        return ns / 1e6;
    }

    void Stop() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = 0;
    }

    void Mark(const XRectangle& r, std::vector<char>& hit) const {
        const int x0 = std::max(0, static_cast<int>(r.x));
        const int y0 = std::max(0, static_cast<int>(r.y));
        const int x1 = std::min(width_, r.x + static_cast<int>(r.width));
        const int y1 = std::min(height_, r.y + static_cast<int>(r.height));
        for (int y = y0; y < y1; ++y)
            std::fill(hit.begin() + y * width_ + x0, hit.begin() + y * width_ + x1, 1);
    }

  private:
    struct Tracked {
        Damage damage = 0;
        bool mapped = false;
    };

    // Handles the X events that are waiting, or waits for some until
    // `untilMs`; false if that time passed with none.
    bool Pump(double untilMs) {
        for (;;) {
            if (XPending(display_) > 0) {
                while (XPending(display_) > 0) {
                    XEvent event;
                    XNextEvent(display_, &event);
                    Handle(event);
                }
                return true;
            }
            const double left = untilMs - NowMs();
            if (left <= 0) return false;
            pollfd fd{ConnectionNumber(display_), POLLIN, 0};
            poll(&fd, 1, static_cast<int>(left) + 1);
        }
    }

    void Handle(XEvent& event) {
        if (event.type == damageEventBase_ + XDamageNotify) {
            const auto& notify = reinterpret_cast<XDamageNotifyEvent&>(event);
            if (notify.drawable == target_ && target_ != 0)
                damage_.push_back({NowMs(), notify.area});
            return;
        }
        switch (event.type) {
            case CreateNotify:
                if (event.xcreatewindow.parent == root_) Track(event.xcreatewindow.window);
                break;
            case MapNotify:
                if (windows_.count(event.xmap.window)) windows_[event.xmap.window].mapped = true;
                break;
            case UnmapNotify:
                if (windows_.count(event.xunmap.window))
                    windows_[event.xunmap.window].mapped = false;
                break;
            case PropertyNotify:
                if (windows_.count(event.xproperty.window) &&
                    (event.xproperty.atom == XA_WM_NAME || event.xproperty.atom == netWmName_))
                    CheckTitle(event.xproperty.window);
                break;
            case ConfigureNotify:
                if (event.xconfigure.window == target_) {
                    width_ = event.xconfigure.width;
                    height_ = event.xconfigure.height;
                }
                break;
            default:
                break;
        }
    }

    void Track(Window window) {
        if (windows_.count(window)) return;
        Tracked& tracked = windows_[window];
        XSelectInput(display_, window, StructureNotifyMask | PropertyChangeMask);
        // Damage is recorded from here on: before the program can have drawn
        // anything, since it draws only after the window is mapped and exposed.
        tracked.damage = XDamageCreate(display_, window, XDamageReportRawRectangles);
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display_, window, &attributes) &&
            attributes.map_state != IsUnmapped)
            tracked.mapped = true;
        CheckTitle(window);
    }

    void CheckTitle(Window window) {
        if (target_ != 0 || title_.empty()) return;
        if (Title(window, netWmName_, utf8_) == title_ ||
            Title(window, XA_WM_NAME, AnyPropertyType) == title_)
            target_ = window;
    }

    std::string Title(Window window, Atom property, Atom type) const {
        Atom actualType = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        std::string text;
        if (XGetWindowProperty(display_, window, property, 0, 1024, False, type, &actualType,
                               &format, &count, &after, &data) == Success &&
            data != nullptr && format == 8)
            text.assign(reinterpret_cast<char*>(data), count);
        if (data != nullptr) XFree(data);
        return text;
    }

    Display* display_ = nullptr;
    Window root_ = 0;
    Atom netWmName_ = 0;
    Atom utf8_ = 0;
    int damageEventBase_ = 0;
    pid_t pid_ = 0;
    double startMs_ = 0;
    double collectSince_ = 0;
    std::string title_;
    Window target_ = 0;
    int width_ = 0;
    int height_ = 0;
    std::map<Window, Tracked> windows_;
    std::vector<Damaged> damage_;
};

}  // namespace benchx
