#include <iostream>
#include <string>
#include <vector>

#include "tools/corvelle-host/HostCommand.h"

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return dorvane::hosttool::runHostCommand(arguments, std::cout, std::cerr);
}
