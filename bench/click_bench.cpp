// The cost of the game's event handlers through a real MainWindow, offscreen:
// a click that slides a tile, a click that changes nothing, and a new game;
// each alone and with the repaint it causes.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdint>
#include <memory>

#include "main_window.h"

namespace {

// One window for all benchmarks. A fixed seed gives every run the same deals.
constexpr std::uint32_t kBenchSeed = 1;

struct Fixture {
    MainWindow window{LoadPictureStores(), kBenchSeed};

    Fixture() {
        window.show();
        QCoreApplication::processEvents();
    }
    // Every deal leaves cell 15 empty, so cell 0 has no empty neighbour.
    void FreshGame() {
        window.OnNewGame();
        QCoreApplication::processEvents();
    }
};

// Made on first use, gone before the QApplication is.
std::unique_ptr<Fixture> theWindow;

Fixture& TheWindow() {
    if (!theWindow) theWindow = std::make_unique<Fixture>();
    return *theWindow;
}

void Paint(bool paint) {
    if (paint) QCoreApplication::processEvents();
}

// Cells 14 and 15 take turns: every click slides the tile between them.
void CellClick_slide(benchmark::State& state) {
    Fixture& f = TheWindow();
    f.FreshGame();
    const bool paint = state.range(0) != 0;
    int cell = 14;
    for (auto _ : state) {
        f.window.OnCellClicked(cell);
        Paint(paint);
        cell = cell == 14 ? 15 : 14;
    }
    state.SetLabel(paint ? "with repaint" : "handler only");
}

// Cell 0 lies far from the empty cell 15: nothing moves.
void CellClick_no_slide(benchmark::State& state) {
    Fixture& f = TheWindow();
    f.FreshGame();
    const bool paint = state.range(0) != 0;
    for (auto _ : state) {
        f.window.OnCellClicked(0);
        Paint(paint);
    }
    state.SetLabel(paint ? "with repaint" : "handler only");
}

// A new game each time.
void OnNewGame(benchmark::State& state) {
    Fixture& f = TheWindow();
    f.FreshGame();
    const bool paint = state.range(0) != 0;
    for (auto _ : state) {
        f.window.OnNewGame();
        Paint(paint);
    }
    state.SetLabel(paint ? "with repaint" : "handler only");
}

BENCHMARK(CellClick_slide)->Arg(0)->Arg(1);
BENCHMARK(CellClick_no_slide)->Arg(0)->Arg(1);
BENCHMARK(OnNewGame)->Arg(0)->Arg(1);

}  // namespace

int main(int argc, char* argv[]) {
    // The real window without a display: set here, not by whoever runs it.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    theWindow.reset();
    return 0;
}
