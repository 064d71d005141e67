// One pointer move through the program's shared hover with 40 tracked elements (the
// toolbar's buttons and a launcher page), Qt on its offscreen platform. Every move is a
// real, small one onto the neighbouring element, so each changes the hover and tells
// the two elements concerned, which schedule their repaint. Target: under 20 µs a move.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include <QApplication>
#include <QWidget>

#include "Dorvane/Visual/PointerHover.h"
#include "bench/OffscreenApplication.h"

namespace {

using dorvane::PointerHover;

void MoveBetweenTrackedElements(benchmark::State& state) {
    dorvane::bench::offscreenApplication();
    QWidget window;
    std::vector<dorvane::dispatch::Observation> tracking;
    int told = 0;
    for (int index = 0; index < 40; ++index) {
        auto* tile = new QWidget(&window);
        tile->setGeometry(index * 50, 0, 40, 40);
        tracking.push_back(PointerHover::shared().track(tile, "tile" + std::to_string(index), [tile, &told](bool) {
            ++told;
            tile->update();
        }));
    }
    window.resize(2000, 40);
    window.show();
    auto& hover = PointerHover::shared();
    hover.pointerMoved(QPointF(0, 20), std::string("tile0"), false);
    const std::optional<std::string> ids[2] = {std::string("tile0"), std::string("tile1")};
    double x = 0;
    int step = 0;
    for (auto _ : state) {
        x += 10;
        hover.pointerMoved(QPointF(x, 20), ids[++step % 2], false);
        if (step % 1024 == 0) {
            state.PauseTiming();
            QCoreApplication::processEvents();
            state.ResumeTiming();
        }
    }
    state.counters["elements told"] = benchmark::Counter(told, benchmark::Counter::kAvgIterations);
}
BENCHMARK(MoveBetweenTrackedElements)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
