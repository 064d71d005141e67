#include "Dorvane/Engine/WorkerProcessRole.h"

namespace dorvane {

processes::ProcessRole workerProcessRole(std::string_view command) {
    if (command == "commit") return processes::ProcessRole::workerCommit;
    if (command == "normalize-restore") return processes::ProcessRole::workerNormalizeRestore;
    return processes::ProcessRole::workerSnapshot;
}

}  // namespace dorvane
