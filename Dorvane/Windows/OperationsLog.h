#pragma once

#include <functional>
#include <string_view>

namespace dorvane::windows {

// Where window management writes its lines of the program's operations log: the shell's
// OperationDiagnostics::write in the program, a sink in tests. Called on any thread,
// never blocks.
using OperationsLog = std::function<void(std::string_view message)>;

}  // namespace dorvane::windows
