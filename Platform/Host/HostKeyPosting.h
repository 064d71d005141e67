#pragma once

#include <memory>

#include "Platform/Events/KeyPosting.h"
#include "Platform/Host/FaultGate.h"
#include "Platform/Host/HostSession.h"

namespace dorvane::host {

// Key events posted to a simulated process: logged, and Command-W closes the focused
// window of an application that closes on it.
class HostKeyPosting final : public events::KeyPosting {
public:
    explicit HostKeyPosting(std::shared_ptr<HostSession> session) : session_(std::move(session)), faults_(*session_) {}

    bool postToProcess(pid_t pid, const events::KeyEvent& event) override;

private:
    std::shared_ptr<HostSession> session_;
    FaultGate faults_;
};

}  // namespace dorvane::host
