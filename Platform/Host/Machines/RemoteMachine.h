#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "Platform/Host/State/HostData.h"

namespace dorvane::host {

// What the simulated machine does besides its displays: simulated processes start and
// end, processes hold power assertions, and the machine wakes. Each change is logged.

// Starts a simulated process; answers its pid.
std::int32_t startSimulatedProcess(HostData& data, const Actor& actor, const std::string& name,
                                   const std::string& executable);

// Ends a simulated process; the power assertions it held go with it. False when no
// such simulated process runs.
bool endSimulatedProcess(HostData& data, const Actor& actor, std::int32_t pid);

// Whether asking for the process's path succeeds. Throws HostError for an unknown pid.
void setSimulatedPathResolvable(HostData& data, const Actor& actor, std::int32_t pid, bool resolvable);

// Whether the holder of an assertion still runs: simulated processes by the process
// table, real ones by `isAlive`.
bool isHolderAlive(const HostData& data, const processes::ProcessIdentity& holder,
                   const std::function<bool(const processes::ProcessIdentity&)>& isAlive);

// Adds an assertion held by `holder`; answers its id. Throws HostError when the holder
// does not run.
std::uint32_t addPowerAssertion(HostData& data, const Actor& actor, const processes::ProcessIdentity& holder,
                                const std::string& type, const std::string& name, std::int64_t level,
                                const std::function<bool(const processes::ProcessIdentity&)>& isAlive);

// Releases the assertions `which` selects; answers how many.
std::size_t releasePowerAssertions(HostData& data, const Actor& actor,
                                   const std::function<bool(const PowerAssertionRecord&)>& which);

// Drops the assertions of processes that have ended, as the power manager does.
void settlePowerAssertions(HostData& data, const std::function<bool(const processes::ProcessIdentity&)>& isAlive);

// The machine woke from sleep.
void announceWake(HostData& data, const Actor& actor);

}  // namespace dorvane::host
