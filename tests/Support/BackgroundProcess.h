#pragma once

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "DorvaneCore/Support/AtomicFile.h"
#include "tests/Support/CommandRun.h"

namespace dorvane::testing {

// A program started in the background as from a shell, with some environment
// variables set and others removed, its output kept in files; killed if still running
// when the object goes.
class BackgroundProcess {
public:
    BackgroundProcess(const std::string& executable, const std::vector<std::string>& arguments,
                      const std::map<std::string, std::optional<std::string>>& environment,
                      const std::filesystem::path& scratch, const std::string& name)
        : out_(scratch / (name + ".out")), err_(scratch / (name + ".err")) {
        pid_ = ::fork();
        if (pid_ == 0) {
            for (const auto& [variable, value] : environment) {
                if (value) {
                    ::setenv(variable.c_str(), value->c_str(), 1);
                } else {
                    ::unsetenv(variable.c_str());
                }
            }
            execWithStreams(executable, arguments, "/dev/null", out_.c_str(), err_.c_str());
        }
    }
    BackgroundProcess(const BackgroundProcess&) = delete;
    BackgroundProcess& operator=(const BackgroundProcess&) = delete;
    ~BackgroundProcess() {
        if (!status_ && pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }

    pid_t pid() const { return pid_; }
    void signal(int number) const { ::kill(pid_, number); }

    // The exit status once it has ended (-1 for a death by signal); nothing if it is
    // still running after `limitSeconds`, a bound for a hung program, not a speed check.
    std::optional<int> waitForExit(double limitSeconds) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(limitSeconds);
        while (!status_) {
            int raw = 0;
            const pid_t done = ::waitpid(pid_, &raw, WNOHANG);
            if (done == pid_) {
                status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
                break;
            }
            if (std::chrono::steady_clock::now() >= deadline) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return status_;
    }

    std::string out() const { return readFileIfPresent(out_).value_or(""); }
    std::string err() const { return readFileIfPresent(err_).value_or(""); }

private:
    std::filesystem::path out_;
    std::filesystem::path err_;
    pid_t pid_ = -1;
    std::optional<int> status_;
};

// Polls `condition` until it holds or `limitSeconds` have passed (a bound for a program
// that never gets there, not a speed check); answers the last result. The pause starts at
// 20 ms and grows to 100 ms: most conditions start a corvelle-host process, and under the
// sanitizers a tight poll of those took more of the cores than the programs under test.
template <typename F>
bool eventually(F condition, double limitSeconds = 30.0) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(limitSeconds);
    auto pause = std::chrono::milliseconds(20);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 3 / 2, std::chrono::milliseconds(100));
    }
    return true;
}

}  // namespace dorvane::testing
