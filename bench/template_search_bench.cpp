// The device-template browser's filter per keystroke over the shipped catalog:
// typing "iphone 15 pro" one character at a time, each keystroke listing the
// entries that match. The entries' search texts are folded once, when loaded.

#include <benchmark/benchmark.h>

#include <string>

#include "DorvaneCore/ResolutionModels/DeviceTemplateBrowser.h"

namespace {

using dorvane::DeviceTemplateBrowser;
using dorvane::DeviceTemplateCatalog;

void TypingIphone15Pro(benchmark::State& state) {
    DeviceTemplateBrowser browser(DeviceTemplateCatalog::bundled());
    const std::string query = "iphone 15 pro";
    std::size_t shown = 0;
    for (auto _ : state) {
        for (std::size_t length = 1; length <= query.size(); ++length) {
            browser.setQuery(query.substr(0, length));
            shown = browser.entries().size();
            benchmark::DoNotOptimize(shown);
        }
    }
    state.counters["per keystroke"] = benchmark::Counter(static_cast<double>(state.iterations() * query.size()),
                                                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["entries at the end"] = static_cast<double>(shown);
}

void LoadingAndFolding(benchmark::State& state) {
    const auto catalog = DeviceTemplateCatalog::bundled();
    for (auto _ : state) benchmark::DoNotOptimize(DeviceTemplateBrowser(catalog));
}

}  // namespace

BENCHMARK(TypingIphone15Pro);
BENCHMARK(LoadingAndFolding);
BENCHMARK_MAIN();
