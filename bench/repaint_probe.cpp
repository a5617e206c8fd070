// What tarpo draws for each action, as the X server sees it: starts the
// program, waits until its window is drawn, then clicks with XTEST and
// collects the XDamage reports each click causes, in client-area coordinates.
//
// Usage: repaint_probe [--rounds N] PROGRAM [ARGUMENTS...]
// Prints one line per action and round:
//   action=NAME round=N reports=N area=PX outside=PX box=WxH+X+Y
// where area is the number of client pixels drawn, outside those drawn outside
// what the action may change: the two cells of a slide, the board and the
// preview for a new game (the button's own pressed look is counted apart, as
// button=PX), nothing for a click that changes nothing.
#include <X11/extensions/XTest.h>

#include <cstring>
#include <string>

#include "damage_watch.h"

namespace {

constexpr int kClientWidth = 456;
constexpr int kClientHeight = 343;
constexpr double kQuietMs = 150;

struct Rect {
    int x, y, w, h;
    bool Contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

constexpr Rect kBoard{8, 8, 324, 324};
constexpr Rect kPreview{344, 120, 73, 81};
constexpr Rect kButton{344, 8, 105, 41};

Rect CellBox(int i) { return {8 + 80 * (i % 4), 8 + 80 * (i / 4), 84, 84}; }

class Prober {
  public:
    explicit Prober(benchx::DamageWatch& watch) : watch_(watch) {
        Window child = 0;
        XTranslateCoordinates(watch_.display(), watch_.target(),
                              DefaultRootWindow(watch_.display()), 0, 0, &left_, &top_, &child);
        menuHeight_ = watch_.height() - kClientHeight;
    }

    // Moves the pointer to client point (x, y) and lets what that redraws
    // (hover effects) pass unmeasured.
    void MoveTo(int x, int y) {
        XTestFakeMotionEvent(watch_.display(), -1, left_ + x, top_ + menuHeight_ + y, CurrentTime);
        XSync(watch_.display(), False);
        std::vector<benchx::Damaged> ignored;
        watch_.Discard();
        watch_.CollectUntilQuiet(kQuietMs, 5000, false, ignored);
    }

    // Clicks where the pointer is and reports what was drawn.
    void ClickAndReport(const char* action, int round, const std::vector<Rect>& allowed,
                        bool separateButton) {
        watch_.Discard();
        XTestFakeButtonEvent(watch_.display(), 1, True, CurrentTime);
        XSync(watch_.display(), False);
        XTestFakeButtonEvent(watch_.display(), 1, False, CurrentTime);
        XSync(watch_.display(), False);
        std::vector<benchx::Damaged> drawn;
        watch_.CollectUntilQuiet(kQuietMs, 5000, false, drawn);

        std::vector<char> hit(static_cast<std::size_t>(kClientWidth) * kClientHeight, 0);
        int minX = kClientWidth, minY = kClientHeight, maxX = -1, maxY = -1;
        long outsideWindow = 0;
        for (const auto& d : drawn) {
            for (int y = d.area.y; y < d.area.y + d.area.height; ++y) {
                for (int x = d.area.x; x < d.area.x + d.area.width; ++x) {
                    const int cy = y - menuHeight_;
                    if (x < 0 || x >= kClientWidth || cy < 0 || cy >= kClientHeight) {
                        ++outsideWindow;  // the menu bar
                        continue;
                    }
                    hit[static_cast<std::size_t>(cy) * kClientWidth + x] = 1;
                }
            }
        }
        long area = outsideWindow, outside = outsideWindow, button = 0;
        for (int y = 0; y < kClientHeight; ++y) {
            for (int x = 0; x < kClientWidth; ++x) {
                if (!hit[static_cast<std::size_t>(y) * kClientWidth + x]) continue;
                ++area;
                minX = std::min(minX, x), minY = std::min(minY, y);
                maxX = std::max(maxX, x), maxY = std::max(maxY, y);
                bool ok = false;
                for (const Rect& r : allowed) ok = ok || r.Contains(x, y);
                if (ok) continue;
                if (separateButton && kButton.Contains(x, y)) {
                    ++button;
                } else {
                    ++outside;
                }
            }
        }
        std::printf("action=%s round=%d reports=%zu area=%ld outside=%ld button=%ld box=", action,
                    round, drawn.size(), area, outside, button);
        if (maxX < 0) {
            std::printf("none\n");
        } else {
            std::printf("%dx%d+%d+%d\n", maxX - minX + 1, maxY - minY + 1, minX, minY);
        }
        std::fflush(stdout);
    }

    void ClickCell(const char* action, int round, int cell, const std::vector<Rect>& allowed) {
        MoveTo(CellBox(cell).x + 42, CellBox(cell).y + 42);
        ClickAndReport(action, round, allowed, false);
    }

  private:
    benchx::DamageWatch& watch_;
    int left_ = 0;
    int top_ = 0;
    int menuHeight_ = 0;
};

}  // namespace

int main(int argc, char* argv[]) {
    int rounds = 5;
    int arg = 1;
    if (argc > 2 && std::strcmp(argv[1], "--rounds") == 0) {
        rounds = std::atoi(argv[2]);
        arg = 3;
    }
    if (argc - arg < 1) benchx::Die("usage: repaint_probe [--rounds N] PROGRAM [ARGS...]");
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;

    benchx::DamageWatch watch;
    if (!XTestQueryExtension(watch.display(), &eventBase, &errorBase, &major, &minor))
        benchx::Die("repaint_probe: the X server has no XTEST extension");
    watch.Launch(argv + arg);
    if (!watch.WaitForMappedWindow("zodaziror uvedored", 20000))
        benchx::Die("repaint_probe: the window was not mapped");
    std::vector<benchx::Damaged> first;
    if (!watch.CollectUntilQuiet(300, 20000, true, first))
        benchx::Die("repaint_probe: the window was not drawn");

    Prober probe(watch);
    for (int round = 1; round <= rounds; ++round) {
        // A new game: the empty cell is 15, so cells 11 and 14 can slide.
        probe.MoveTo(kButton.x + kButton.w / 2, kButton.y + kButton.h / 2);
        probe.ClickAndReport("new_game", round, {kBoard, kPreview}, true);
        probe.ClickCell("slide", round, 14, {CellBox(14), CellBox(15)});
        probe.ClickCell("slide", round, 15, {CellBox(14), CellBox(15)});
        probe.ClickCell("no_slide", round, 0, {});
        probe.ClickCell("empty_cell", round, 15, {});
    }
    watch.Stop();
    return 0;
}
