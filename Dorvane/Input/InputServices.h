#pragma once

#include <functional>
#include <string_view>

namespace dorvane {

// Writes one line to the operations log (OperationDiagnostics::write in the program).
using OperationLog = std::function<void(std::string_view message)>;

}  // namespace dorvane
