// The device-template browser's filter per keystroke over the shipped catalog:
// typing "iphone 15 pro" one character at a time, each keystroke listing the
// entries that match. The entries' search texts are folded once, when loaded.
// TypingIntoTheSheet does the same in the sheet itself (offscreen), its list
// following every keystroke.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTemporaryDir>

#include "Dorvane/Settings/DeviceTemplatesView.h"
#include "Dorvane/ShellBase/ControlPanelModel.h"
#include "Dorvane/Visual/TextField.h"
#include "DorvaneCore/ResolutionModels/DeviceTemplateBrowser.h"
#include "bench/OffscreenApplication.h"

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

// A key pressed in the search field, as the platform delivers it.
void press(QWidget& field, int key, const QString& text) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&field, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&field, &up);
}

void TypingIntoTheSheet(benchmark::State& state) {
    dorvane::bench::offscreenApplication();
    dorvane::ControlPanelModel model;
    QTemporaryDir support;  // no override: the shipped catalog
    dorvane::DeviceTemplatesView sheet(model, std::filesystem::path(support.path().toStdString()), [] {});
    sheet.show();
    QCoreApplication::processEvents();
    const QString query = QStringLiteral("iphone 15 pro");
    std::size_t shown = 0;
    for (auto _ : state) {
        for (const QChar letter : query) press(*sheet.searchField(), letter.toUpper().unicode(), QString(letter));
        state.PauseTiming();
        shown = sheet.shownRows().size();
        sheet.searchField()->selectAll();
        press(*sheet.searchField(), Qt::Key_Backspace, QString());
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["per keystroke"] = benchmark::Counter(static_cast<double>(state.iterations() * query.size()),
                                                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["rows shown at the end"] = static_cast<double>(shown);
}

void LoadingAndFolding(benchmark::State& state) {
    const auto catalog = DeviceTemplateCatalog::bundled();
    for (auto _ : state) benchmark::DoNotOptimize(DeviceTemplateBrowser(catalog));
}

}  // namespace

BENCHMARK(TypingIphone15Pro);
BENCHMARK(TypingIntoTheSheet);
BENCHMARK(LoadingAndFolding);
BENCHMARK_MAIN();
