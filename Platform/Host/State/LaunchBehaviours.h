#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane::host {

// How long opening an application takes unless its bundle says otherwise.
inline constexpr double kDefaultLaunchDelay = 0.3;

// How opening one bundle behaves.
struct LaunchBehaviour {
    std::optional<double> delay;             // seconds until the launch completes
    bool fails = false;                      // opening it fails
    std::optional<std::string> failureText;  // what the failure says; the usual sentence without it

    double launchDelay() const { return delay.value_or(kDefaultLaunchDelay); }

    friend bool operator==(const LaunchBehaviour&, const LaunchBehaviour&) = default;

    json::Json toJson() const;
    static LaunchBehaviour fromJson(const json::Json& value);
};

// The content of "launching.json": launch behaviours by bundle path (platform form);
// a bundle without an entry launches normally.
struct LaunchBehaviours {
    static constexpr std::int32_t kFormat = 1;

    std::map<std::string, LaunchBehaviour> bundles;

    // The behaviour of the bundle at `path`, the normal one when none was set.
    LaunchBehaviour of(const std::string& path) const;

    friend bool operator==(const LaunchBehaviours&, const LaunchBehaviours&) = default;

    json::Json toJson() const;
    static LaunchBehaviours fromJson(const json::Json& value);
};

}  // namespace dorvane::host
