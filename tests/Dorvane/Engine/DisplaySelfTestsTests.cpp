#include <gtest/gtest.h>

#include <functional>

#include "Dorvane/Engine/DisplaySelfTests.h"
#include "DorvaneCore/Core/FitError.h"
#include "tests/Dorvane/Engine/EngineHarness.h"

namespace dorvane {
namespace {

// Lets the test act just before a worker run, as another party changing things mid-test.
class HookedWorkerClient final : public WorkerClient {
public:
    explicit HookedWorkerClient(WorkerClient& inner) : inner_(inner) {}
    std::string run(const std::string& executable, const std::string& command,
                    const std::optional<std::string>& input, double timeout) override {
        if (before) before(command);
        return inner_.run(executable, command, input, timeout);
    }
    std::function<void(const std::string&)> before;

private:
    WorkerClient& inner_;
};

TEST(DisplaySelfTestsTest, ASessionFileThatVanishesFailsTheCheckThatExpectsItKept) {
    testing::EngineHarness h;
    HookedWorkerClient hooked(h.workers);
    h.engine = std::make_unique<DisplayEngine>(DisplayEngine::Services{
        h.root, "/opt/corvelle/bin/corvelle", h.queue, h.scheduler, h.app->virtualDisplays(), h.app->userActivity(),
        hooked, [serial = std::uint64_t{40}]() mutable { return serial += 7; }});

    // The last size is applied and checked twice; the file goes before the invalid size is tried.
    int lastSizeSnapshots = 0;
    hooked.before = [&](const std::string& command) {
        if (command != "snapshot" || h.engine->applied() != Dimensions(1400, 630)) return;
        if (++lastSizeSnapshots == 2) std::filesystem::remove(h.root / "session.json");
    };

    std::string failure = "no failure";
    try {
        h.await(h.engine->perform([](DisplayEngine& engine) { DisplaySelfTests::smokeCaptureReplacement(engine); }));
    } catch (const FitError& error) {
        failure = error.what();
    }
    EXPECT_EQ(failure, "无效规格改变了当前屏幕");
    EXPECT_EQ(lastSizeSnapshots, 2);
    EXPECT_TRUE(h.virtualDisplays().empty());
    h.engine.reset();
}

}  // namespace
}  // namespace dorvane
