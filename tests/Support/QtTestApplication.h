#pragma once

#include <QApplication>

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

}  // namespace dorvane::testing
