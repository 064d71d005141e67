#include <iostream>
#include <type_traits>

#include "Dorvane/App/Neighbours.h"
#include "Dorvane/App/ApplicationRunner.h"
#include "Dorvane/Shell/ApplicationLibrary.h"
#include "Dorvane/Shell/LastResort.h"

// The one symbol the application library exports; the executable looks it up by name.
extern "C" __attribute__((visibility("default"))) int corvelle_run_application(const char* root,
                                                                                const char* executable) {
    return dorvane::runToTheEnd(root, std::cerr, [&] {
        return dorvane::qthost::runApplication(root, executable, dorvane::makeNeighbours);
    });
}

static_assert(std::is_same_v<decltype(corvelle_run_application), dorvane::ApplicationLibraryEntry>);
