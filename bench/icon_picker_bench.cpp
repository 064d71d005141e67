// The icon picker per keystroke: typing a query one character at a time over the 174
// icons, each keystroke recomputing the icons shown (budget 20 µs) and, in the view on
// Qt's offscreen platform, showing and hiding the grid's cells and painting it (8 ms).

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include <QCoreApplication>
#include <QLineEdit>

#include "Dorvane/Editors/IconPickerView.h"
#include "DorvaneCore/Editors/IconPickerModel.h"
#include "bench/OffscreenApplication.h"

namespace {

using dorvane::IconPickerModel;
using dorvane::ShortcutIcon;

// Whole UTF-8 characters per keystroke.
std::vector<std::string> keystrokes(const std::string& query) {
    std::vector<std::string> prefixes;
    for (std::size_t end = 1; end <= query.size(); ++end) {
        if (end == query.size() || (static_cast<unsigned char>(query[end]) & 0xC0) != 0x80) {
            prefixes.push_back(query.substr(0, end));
        }
    }
    return prefixes;
}

void typeQuery(benchmark::State& state, const std::string& query) {
    const auto prefixes = keystrokes(query);
    for (auto _ : state) {
        for (const auto& prefix : prefixes) {
            benchmark::DoNotOptimize(IconPickerModel::displayed(ShortcutIcon::star, false, prefix));
        }
    }
    state.counters["per keystroke"] = benchmark::Counter(static_cast<double>(state.iterations() * prefixes.size()),
                                                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void TypingLatinQuery(benchmark::State& state) { typeQuery(state, "arrow.up"); }
void TypingChineseQuery(benchmark::State& state) { typeQuery(state, "窗口居中"); }

void FirstPageWithoutQuery(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(IconPickerModel::displayed(ShortcutIcon::leaf, false, ""));
}

// The grid shown and painted after each keystroke, then the query cleared again.
void GridPerKeystroke(benchmark::State& state) {
    dorvane::bench::offscreenApplication();
    dorvane::IconPickerView picker(ShortcutIcon::star, [](ShortcutIcon) {}, [] { return true; });
    picker.resize(420, 400);
    picker.show();
    QCoreApplication::processEvents();
    const auto prefixes = keystrokes("arrow.up");
    for (auto _ : state) {
        for (const auto& prefix : prefixes) {
            picker.searchField()->setText(QString::fromStdString(prefix));
            QCoreApplication::sendPostedEvents();  // the grid's layout
            picker.repaint();
        }
        picker.searchField()->clear();
        QCoreApplication::sendPostedEvents();
        picker.repaint();
    }
    state.counters["per keystroke"] =
        benchmark::Counter(static_cast<double>(state.iterations() * (prefixes.size() + 1)),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(GridPerKeystroke)->Unit(benchmark::kMillisecond);
BENCHMARK(TypingLatinQuery);
BENCHMARK(TypingChineseQuery);
BENCHMARK(FirstPageWithoutQuery);
BENCHMARK_MAIN();
