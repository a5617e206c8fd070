// Start-up time of a windowed program: from just before exec until its
// top-level window, found by title, is mapped and drawn all over, with no more
// drawing for a while. Also its peak resident memory with the window up.
//
// Usage: first_paint [--quiet-ms N] [--timeout-ms N] [--verbose 1] TITLE PROGRAM [ARGUMENTS...]
// Prints one line: paint_ms=.. map_ms=.. cpu_ms=.. peak_kib=.. cover=.. reports=..
// where paint_ms is the time of the last drawing before the quiet period and
// cpu_ms the processor time the program used until then (all its threads);
// --verbose 1 first lists every damage report with its time.
#include <cstring>
#include <string>

#include "damage_watch.h"

int main(int argc, char* argv[]) {
    double quietMs = 300;
    double timeoutMs = 20000;
    bool verbose = false;
    int arg = 1;
    for (; arg + 1 < argc && std::strncmp(argv[arg], "--", 2) == 0; arg += 2) {
        if (std::strcmp(argv[arg], "--quiet-ms") == 0) {
            quietMs = std::atof(argv[arg + 1]);
        } else if (std::strcmp(argv[arg], "--timeout-ms") == 0) {
            timeoutMs = std::atof(argv[arg + 1]);
        } else if (std::strcmp(argv[arg], "--verbose") == 0) {
            verbose = std::atoi(argv[arg + 1]) != 0;
        } else {
            benchx::Die(std::string("first_paint: unknown option ") + argv[arg]);
        }
    }
    if (argc - arg < 2) benchx::Die("usage: first_paint [--quiet-ms N] TITLE PROGRAM [ARGS...]");
    const std::string title = argv[arg];

    benchx::DamageWatch watch;
    watch.Launch(argv + arg + 1);
    if (!watch.WaitForMappedWindow(title, timeoutMs))
        benchx::Die("first_paint: no window titled \"" + title + "\" was mapped");
    const double mappedMs = benchx::NowMs() - watch.startMs();

    std::vector<benchx::Damaged> drawn;
    if (!watch.CollectUntilQuiet(quietMs, timeoutMs, /*needFullCover=*/true, drawn))
        benchx::Die("first_paint: the window was not drawn all over in time");
    const double paintMs = drawn.back().atMs - watch.startMs();
    const long peakKiB = watch.PeakResidentKiB();
    const double cpuMs = watch.CpuMs();

    std::vector<char> hit(static_cast<std::size_t>(watch.width()) * watch.height(), 0);
    for (const auto& d : drawn) {
        watch.Mark(d.area, hit);
        if (verbose)
            std::printf("damage at %.2f ms: %dx%d+%d+%d\n", d.atMs - watch.startMs(), d.area.width,
                        d.area.height, d.area.x, d.area.y);
    }
    const double cover = static_cast<double>(std::count(hit.begin(), hit.end(), 1)) /
                         static_cast<double>(hit.size());
    watch.Stop();

    std::printf(
        "paint_ms=%.2f map_ms=%.2f cpu_ms=%.2f peak_kib=%ld cover=%.3f reports=%zu size=%dx%d\n",
        paintMs, mappedMs, cpuMs, peakKiB, cover, drawn.size(), watch.width(), watch.height());
    return 0;
}
