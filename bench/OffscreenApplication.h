#pragma once

#include <cstdio>

#include <QApplication>

namespace dorvane::bench {

// The one QApplication of a benchmark of Qt views, on the offscreen platform, without its
// warnings about raising windows it has no screen for.
inline QApplication& offscreenApplication() {
    static int argc = 1;
    static char name[] = "corvelle-bench";
    static char* argv[] = {name, nullptr};
    static QApplication* instance = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        auto* made = new QApplication(argc, argv);
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
            if (type == QtWarningMsg && message.startsWith(QStringLiteral("This plugin does not support"))) return;
            std::fprintf(stderr, "%s\n", qPrintable(message));
        });
        return made;
    }();
    return *instance;
}

}  // namespace dorvane::bench
