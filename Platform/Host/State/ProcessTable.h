#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane::host {

// Process ids the simulated host hands out start above the largest id Linux can ever
// give (PID_MAX_LIMIT, 2^22), so they never collide with a real process.
inline constexpr std::int32_t kFirstSimulatedPID = 4'194'304;

constexpr bool isSimulatedPID(std::int32_t pid) { return pid >= kFirstSimulatedPID; }

// A process that exists only in the simulated host.
struct SimulatedProcess {
    std::int32_t pid = 0;
    std::string name;         // as a process listing shows it
    std::string executable;   // absolute path
    bool resolvable = true;   // false: asking for its path fails, as for another user's process

    friend bool operator==(const SimulatedProcess&, const SimulatedProcess&) = default;

    json::Json toJson() const;
    static SimulatedProcess fromJson(const json::Json& value);
};

// The content of "processes.json": the simulated processes now running.
struct ProcessTable {
    static constexpr std::int32_t kFormat = 1;

    std::int32_t nextPID = kFirstSimulatedPID;
    std::vector<SimulatedProcess> processes;

    friend bool operator==(const ProcessTable&, const ProcessTable&) = default;

    const SimulatedProcess* find(std::int32_t pid) const;
    SimulatedProcess* find(std::int32_t pid);

    json::Json toJson() const;
    // Strict; also rejects ids outside the simulated range and duplicates.
    static ProcessTable fromJson(const json::Json& value);
};

}  // namespace dorvane::host
