#include <exception>
#include <iostream>
#include <type_traits>

#include "Dorvane/App/Neighbours.h"
#include "Dorvane/QtHost/ApplicationRunner.h"
#include "Dorvane/Shell/ApplicationLibrary.h"

// The one symbol the application library exports; the executable looks it up by name.
extern "C" __attribute__((visibility("default"))) int corvelle_run_application(const char* root,
                                                                                const char* executable) {
    try {
        return dorvane::qthost::runApplication(root, executable, dorvane::makeNeighbours);
    } catch (const std::exception& error) {
        // Nothing may unwind into the loader, which knows none of this library's types.
        std::cerr << error.what() << "\n";
        return 1;
    }
}

static_assert(std::is_same_v<decltype(corvelle_run_application), dorvane::ApplicationLibraryEntry>);
