#include "tests/Platform/Host/HostTestSupport.h"

namespace dorvane::host {
namespace {

using displays::ConfigureScope;
using displays::DisplayError;
using displays::DisplayModeInfo;

class ConfigurationTest : public MemoryHostTest {
protected:
    DisplayModeInfo modeOf(DisplayID display, std::int32_t modeID) {
        for (const auto& mode : worker->displays().allModes(display, {true})) {
            if (mode.modeID == modeID) return mode;
        }
        throw std::runtime_error("no such mode");
    }

    std::unique_ptr<displays::DisplayConfiguration> begin() {
        auto begun = worker->displays().beginConfiguration();
        EXPECT_EQ(begun.error, DisplayError::success);
        return std::move(begun.configuration);
    }

    // The external monitor becomes main in its 2560x1440 mode; the panel mirrors it.
    void stageTakeover(displays::DisplayConfiguration& configuration) {
        EXPECT_EQ(configuration.configureMirror(builtin, external), DisplayError::success);
        EXPECT_EQ(configuration.configureMode(external, modeOf(external, 102)), DisplayError::success);
        EXPECT_EQ(configuration.configureOrigin(external, 0, 0), DisplayError::success);
    }

    void SetUp() override {
        MemoryHostTest::SetUp();
        builtin = named(state(), "builtin").id;
        external = named(state(), "external").id;
    }

    DisplayID builtin = 0;
    DisplayID external = 0;
};

TEST_F(ConfigurationTest, CancelLeavesTheHostUnchangedAndCompleteAppliesEverything) {
    const auto before = state();
    {
        auto configuration = begin();
        stageTakeover(*configuration);
        EXPECT_EQ(configuration->cancel(), DisplayError::success);
        EXPECT_EQ(configuration->complete(ConfigureScope::forSession), DisplayError::invalidContext);
    }
    const auto cancelled = state();
    EXPECT_EQ(json::serialize(json::encodeArray(cancelled.displays)), json::serialize(json::encodeArray(before.displays)));
    EXPECT_EQ(cancelled.counters.transactionsCancelled, 1u);
    EXPECT_EQ(cancelled.counters.transactionsCompleted, 0u);

    auto configuration = begin();
    stageTakeover(*configuration);
    EXPECT_EQ(configuration->complete(ConfigureScope::forSession), DisplayError::success);

    auto& displays = worker->displays();
    EXPECT_EQ(displays.mainDisplayID(), external);
    EXPECT_EQ(displays.mirrorSource(builtin), external);
    EXPECT_FALSE(displays.isMain(builtin));
    EXPECT_EQ(displays.bounds(builtin).x, 0);
    EXPECT_EQ(displays.bounds(builtin).y, 0);
    EXPECT_EQ(displays.currentMode(external)->modeID, 102);
    EXPECT_EQ(state().counters.transactionsCompleted, 1u);
    EXPECT_EQ(logged({"beginConfiguration", "configureMirror", "configureMode", "configureOrigin",
                      "completeConfiguration", "cancelConfiguration"}),
              (std::vector<std::string>{
                  "beginConfiguration tx=1 -> 0",
                  "configureMirror tx=1 display=1 master=2 -> 0",
                  "configureMode tx=1 display=2 modeID=102 mode=5120x2880/2560x1440 -> 0",
                  "configureOrigin tx=1 display=2 x=0 y=0 -> 0",
                  "cancelConfiguration tx=1 -> 0",
                  "completeConfiguration tx=1 scope=session changes=0 -> 1003",
                  "beginConfiguration tx=2 -> 0",
                  "configureMirror tx=2 display=1 master=2 -> 0",
                  "configureMode tx=2 display=2 modeID=102 mode=5120x2880/2560x1440 -> 0",
                  "configureOrigin tx=2 display=2 x=0 y=0 -> 0",
                  "completeConfiguration tx=2 scope=session changes=3 -> 0",
              }));
}

TEST_F(ConfigurationTest, ImmediateRefusals) {
    auto configuration = begin();
    EXPECT_EQ(configuration->configureMirror(builtin, builtin), DisplayError::illegalArgument);
    EXPECT_EQ(configuration->configureMirror(builtin, 999), DisplayError::illegalArgument);
    EXPECT_EQ(configuration->configureOrigin(999, 0, 0), DisplayError::illegalArgument);
    EXPECT_EQ(configuration->configureMode(builtin, modeOf(external, 102)), DisplayError::illegalArgument);
    // Refused calls stage nothing.
    EXPECT_EQ(configuration->complete(ConfigureScope::forSession), DisplayError::success);
    EXPECT_EQ(worker->displays().mirrorSource(builtin), 0u);
}

TEST_F(ConfigurationTest, CompletionIsAllOrNothing) {
    {
        auto configuration = begin();
        EXPECT_EQ(configuration->configureMode(builtin, modeOf(builtin, 3)), DisplayError::success);
        EXPECT_EQ(configuration->configureOrigin(external, -1920, 0), DisplayError::success);
        app->admin().unplug("external");
        EXPECT_EQ(configuration->complete(ConfigureScope::forSession), DisplayError::cannotComplete);
    }
    EXPECT_EQ(worker->displays().currentMode(builtin)->modeID, 1);
    app->admin().plug("external");
    external = named(state(), "external").id;

    // Two displays mirroring each other cannot be shown.
    auto configuration = begin();
    EXPECT_EQ(configuration->configureMode(builtin, modeOf(builtin, 3)), DisplayError::success);
    EXPECT_EQ(configuration->configureMirror(builtin, external), DisplayError::success);
    EXPECT_EQ(configuration->configureMirror(external, builtin), DisplayError::success);
    EXPECT_EQ(configuration->complete(ConfigureScope::forSession), DisplayError::illegalArgument);
    EXPECT_EQ(worker->displays().currentMode(builtin)->modeID, 1);
    EXPECT_EQ(worker->displays().mirrorSource(external), 0u);
    EXPECT_EQ(state().counters.transactionsCompleted, 0u);
}

TEST_F(ConfigurationTest, TheDisplayAtTheOriginBecomesMainAndOverlapsAreResolved) {
    {
        auto configuration = begin();
        EXPECT_EQ(configuration->configureOrigin(builtin, -1512, 100), DisplayError::success);
        EXPECT_EQ(configuration->configureOrigin(external, 0, 0), DisplayError::success);
        EXPECT_EQ(configuration->complete(ConfigureScope::forSession), DisplayError::success);
    }
    EXPECT_EQ(worker->displays().mainDisplayID(), external);
    EXPECT_EQ(worker->displays().bounds(builtin), (displays::Rect{-1512, 100, 1512, 982}));

    // Moving only the panel onto the main display's place pushes the monitor aside.
    auto configuration = begin();
    EXPECT_EQ(configuration->configureOrigin(builtin, 0, 0), DisplayError::success);
    EXPECT_EQ(configuration->complete(ConfigureScope::forSession), DisplayError::success);
    EXPECT_EQ(worker->displays().mainDisplayID(), builtin);
    EXPECT_EQ(worker->displays().bounds(external).x, 1512);
    EXPECT_EQ(worker->displays().bounds(external).y, 0);
}

TEST_F(ConfigurationTest, TheHostPlacesADisplayElsewhereThanAskedAsOftenAsTold) {
    app->admin().addOriginOverride({"external", 1512, 90, 2});
    for (int attempt = 0; attempt < 3; ++attempt) {
        auto configuration = begin();
        EXPECT_EQ(configuration->configureOrigin(external, 1512, 0), DisplayError::success);
        EXPECT_EQ(configuration->complete(ConfigureScope::forSession), DisplayError::success);
        EXPECT_EQ(worker->displays().bounds(external).y, attempt < 2 ? 90 : 0) << attempt;
    }
}

TEST_F(ConfigurationTest, DroppedTransactionsAreLoggedAsAbandoned) {
    {
        auto configuration = begin();
        EXPECT_EQ(configuration->configureOrigin(external, 0, 0), DisplayError::success);
    }
    EXPECT_EQ(logged({"abandonConfiguration"}), std::vector<std::string>{"abandonConfiguration tx=1"});
    EXPECT_EQ(worker->displays().mainDisplayID(), builtin);
    EXPECT_EQ(state().counters.transactionsCancelled, 0u);
}

}  // namespace
}  // namespace dorvane::host
