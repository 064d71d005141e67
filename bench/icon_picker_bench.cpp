// The icon picker's model per keystroke: typing a query one character at a
// time over the 174 icons, each keystroke recomputing the icons shown.

#include <benchmark/benchmark.h>

#include <string>

#include "DorvaneCore/Editors/IconPickerModel.h"

namespace {

using dorvane::IconPickerModel;
using dorvane::ShortcutIcon;

void typeQuery(benchmark::State& state, const std::string& query) {
    // Whole UTF-8 characters per keystroke.
    std::vector<std::string> prefixes;
    for (std::size_t end = 1; end <= query.size(); ++end) {
        if (end == query.size() || (static_cast<unsigned char>(query[end]) & 0xC0) != 0x80) {
            prefixes.push_back(query.substr(0, end));
        }
    }
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

}  // namespace

BENCHMARK(TypingLatinQuery);
BENCHMARK(TypingChineseQuery);
BENCHMARK(FirstPageWithoutQuery);
BENCHMARK_MAIN();
