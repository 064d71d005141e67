#pragma once

#include <memory>

#include "Platform/Host/Session/FaultGate.h"
#include "Platform/Host/Session/HostSession.h"
#include "Platform/System/SystemSound.h"
#include "Platform/System/URLOpener.h"

namespace dorvane::host {

// URLs opened on the simulated host, recorded in the action log; System Settings links
// bring the simulated System Settings forward.
class HostURLOpener final : public system::URLOpener {
public:
    explicit HostURLOpener(std::shared_ptr<HostSession> session) : session_(std::move(session)), faults_(*session_) {}
    bool open(const std::string& url) override;

private:
    std::shared_ptr<HostSession> session_;
    FaultGate faults_;
};

// The alert sound, recorded in the action log.
class HostSystemSound final : public system::SystemSound {
public:
    explicit HostSystemSound(std::shared_ptr<HostSession> session) : session_(std::move(session)) {}
    void beep() override;

private:
    std::shared_ptr<HostSession> session_;
};

}  // namespace dorvane::host
