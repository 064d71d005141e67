#include "Platform/Host/Services/HostVirtualDisplays.h"

#include "Platform/Host/Machines/VirtualDisplayLifecycle.h"

namespace dorvane::host {

namespace {

class HostVirtualDisplay final : public displays::VirtualDisplay {
public:
    HostVirtualDisplay(std::shared_ptr<HostSession> session, DisplayID id) : session_(std::move(session)), id_(id) {}

    ~HostVirtualDisplay() override {
        // When the host cannot be written now, the display goes when this process ends.
        release();
    }

    DisplayID displayID() const override { return id_; }

    bool applySettings(const displays::VirtualDisplaySettings& settings) override {
        return session_->call<bool>(
            HostCall::applyVirtualDisplaySettings, id_,
            [&](HostData& data) { return applyVirtualDisplaySettings(data, session_->actor(), id_, settings); },
            [](HostData&, const FaultOutcome&) { return false; });
    }

    bool release() override {
        if (released_) return true;
        try {
            session_->access([this](HostData& data) { releaseVirtualDisplay(data, session_->actor(), id_); });
        } catch (const std::exception&) {
            return false;
        }
        released_ = true;
        return true;
    }

private:
    std::shared_ptr<HostSession> session_;
    DisplayID id_;
    bool released_ = false;
};

}  // namespace

bool HostVirtualDisplays::isAvailable() {
    return session_->call<bool>(
        HostCall::virtualDisplaysAvailable, 0, [](HostData& data) { return data.state().virtualDisplaysAvailable; },
        [](HostData&, const FaultOutcome&) { return false; });
}

std::unique_ptr<displays::VirtualDisplay> HostVirtualDisplays::create(
    const displays::VirtualDisplayDescriptor& descriptor) {
    const auto id = session_->call<std::optional<DisplayID>>(
        HostCall::createVirtualDisplay, 0,
        [&](HostData& data) {
            return createVirtualDisplay(data, session_->actor(), session_->identity(), descriptor);
        },
        [](HostData&, const FaultOutcome&) { return std::optional<DisplayID>(); });
    if (!id) return nullptr;
    return std::make_unique<HostVirtualDisplay>(session_, *id);
}

}  // namespace dorvane::host
