#include <string>
#include <vector>

#include "Dorvane/Shell/Entry.h"

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return dorvane::runEntry(argc > 0 ? argv[0] : "corvelle", arguments);
}
