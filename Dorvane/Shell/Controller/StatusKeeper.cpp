#include "Dorvane/Shell/Controller/StatusKeeper.h"

namespace dorvane::shell {

void StatusKeeper::beginOperation() { applying_ = true; }

std::int64_t StatusKeeper::beginNewerOperation() {
    applying_ = true;
    return ++generation_;
}

void StatusKeeper::finishOperation(EngineStatus result) {
    status_ = std::move(result);
    applying_ = false;
}

void StatusKeeper::endOperation() { applying_ = false; }

void StatusKeeper::beginQuit() {
    terminating_ = true;
    ++generation_;
}

void StatusKeeper::quitRefused() {
    terminating_ = false;
    applying_ = false;
}

void StatusKeeper::report(EngineStatus status) { status_ = std::move(status); }

void StatusKeeper::retitle(std::string title) { status_.title = std::move(title); }

void StatusKeeper::retitle(std::string title, std::optional<std::string> detail) {
    status_.title = std::move(title);
    status_.detail = std::move(detail);
}

}  // namespace dorvane::shell
