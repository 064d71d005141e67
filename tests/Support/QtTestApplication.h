#pragma once

#include <functional>

#include <QApplication>
#include <QThread>

namespace dorvane::testing {

// The one QApplication of a ui test program, on Qt's offscreen platform (or under the
// display a xvfb test provides), made on first use and kept until the program ends.
inline QApplication& qtApplication() {
    static int argc = 1;
    static char name[] = "corvelle-tests";
    static char* argv[] = {name, nullptr};
    static QApplication* application = [] {
        if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
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
