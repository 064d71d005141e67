#pragma once

#include <functional>

#include <QApplication>
#include <QThread>

#include "Dorvane/Visual/DesignTokens.h"

namespace dorvane::testing {

// The one QApplication of a ui test program, on Qt's offscreen platform (or under the
// display a xvfb test provides), made on first use and kept until the program ends. It has
// the font the program sets at start, so that a widget lays out in a test as in the program.
inline QApplication& qtApplication() {
    static int argc = 1;
    static char name[] = "corvelle-tests";
    static char* argv[] = {name, nullptr};
    static QApplication* application = [] {
        if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
        // ctest sets it for every test; a suite run by hand sees the same fonts.
        if (qEnvironmentVariableIsEmpty("FONTCONFIG_FILE")) qputenv("FONTCONFIG_FILE", CORVELLE_TEST_FONTCONFIG);
        auto* made = new QApplication(argc, argv);
        QApplication::setFont(DesignTokens::applicationFont());
        return made;
    }();
    return *application;
}

// Lets the event loop run until `done` holds; false if it never does.
inline bool processUntil(const std::function<bool()>& done) {
    for (int round = 0; round < 20000 && !done(); ++round) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (!done()) QThread::usleep(200);
    }
    return done();
}

}  // namespace dorvane::testing
