#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "DorvaneCore/Support/AtomicFile.h"
#include "Platform/Host/Store/FolderHostStore.h"
#include "Platform/Host/Store/HostFolder.h"
#include "tests/Support/TemporaryFolder.h"

namespace dorvane::host {
namespace {

namespace fs = std::filesystem;

// One file of each kind as the host writes it, every key present (every optional value set,
// every list with an element): a key renamed in a reader or a writer, or a changed layout,
// fails the round trip below. A change of format is a change of these files too.
const fs::path kGolden = CORVELLE_HOST_GOLDEN_DIR;

std::string golden(const char* name) {
    const auto text = readFileIfPresent(kGolden / name);
    if (!text) ADD_FAILURE() << "no golden file " << name;
    return text.value_or("");
}

class HostFileGoldenTest : public ::testing::Test {
protected:
    // The store reads the golden file, writes something else in its place, then writes what
    // it read: the file must be the golden one byte for byte.
    template <HostPart P>
    void roundTrip(const char* name) {
        SCOPED_TRACE(name);
        const std::string text = golden(name);
        FolderHostStore store(folder());
        writeFileAtomically(folder() / name, text);
        std::optional<typename std::remove_reference_t<decltype(*std::declval<HostData&>().slot<P>())>> read;
        store.transact([&](HostData& data) {
            data.touch(P);
            read = *data.slot<P>();
            *data.slot<P>() = {};
        });
        ASSERT_NE(readFileIfPresent(folder() / name), text) << "the store wrote nothing new";
        store.transact([&](HostData& data) {
            data.touch(P);
            *data.slot<P>() = *read;
        });
        EXPECT_EQ(readFileIfPresent(folder() / name), text);
    }

    fs::path folder() const { return root.path() / "host"; }

    testing::TemporaryFolder root{"corvelle-golden"};
};

TEST_F(HostFileGoldenTest, EveryHostFileReadsAndWritesByteForByte) {
    roundTrip<HostPart::state>(kDisplaysFile);
    roundTrip<HostPart::faults>(kFaultsFile);
    roundTrip<HostPart::power>(kPowerFile);
    roundTrip<HostPart::processes>(kProcessesFile);
    roundTrip<HostPart::workspace>(kWorkspaceFile);
    roundTrip<HostPart::statusBar>(kStatusBarFile);
    roundTrip<HostPart::windows>(kWindowsFile);
    roundTrip<HostPart::permissions>(kPermissionsFile);
    roundTrip<HostPart::input>(kInputFile);
    roundTrip<HostPart::defaults>(kDefaultsFile);
    roundTrip<HostPart::appearance>(kAppearanceFile);
    roundTrip<HostPart::notifications>(kNotificationsFile);
    roundTrip<HostPart::announcements>(kAnnouncementsFile);
    roundTrip<HostPart::launching>(kLaunchingFile);
}

TEST_F(HostFileGoldenTest, TheLogsReadAndWriteByteForByte) {
    FolderHostStore store(folder());
    const std::string events = golden(kDeliveredEventsFile);
    writeFileAtomically(folder() / kDeliveredEventsFile, events);
    const auto delivered = store.deliveredEvents().read();
    ASSERT_EQ(delivered.size(), 2u);
    store.deliveredEvents().clear();
    EXPECT_EQ(readFileIfPresent(folder() / kDeliveredEventsFile), "");
    store.deliveredEvents().append(delivered);
    store.deliveredEvents().flush();
    EXPECT_EQ(readFileIfPresent(folder() / kDeliveredEventsFile), events);

    // The action log is only ever appended to, a line an entry as the store writes it.
    const std::string log = golden(kActionLogFile);
    writeFileAtomically(folder() / kActionLogFile, log);
    std::string written;
    for (const auto& entry : store.actionLog()) written += json::serialize(entry.toJson()) + "\n";
    EXPECT_EQ(written, log);
}

}  // namespace
}  // namespace dorvane::host
