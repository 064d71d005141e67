#pragma once

#include <string>
#include <vector>

namespace dorvane {

// "--worker <command>": one display command against the host, request on standard
// input, answer on standard output; answers the worker's exit status.
int runWorkerMode(const std::vector<std::string>& arguments);

// "--check": virtual displays available, and a snapshot taken in this process.
int runCheckMode();

}  // namespace dorvane
