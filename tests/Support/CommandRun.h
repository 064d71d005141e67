#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "DorvaneCore/Support/AtomicFile.h"

namespace dorvane::testing {

struct CommandRun {
    int status = -1;  // exit status; -1 when killed by a signal
    std::string out;
    std::string err;
};

// In a forked child: the standard streams on these files, then the program. Never returns.
[[noreturn]] inline void execWithStreams(const std::string& executable, const std::vector<std::string>& arguments,
                                         const char* in, const char* out, const char* err) {
    const int input = ::open(in, O_RDONLY);
    const int output = ::open(out, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int error = ::open(err, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(input, 0);
    ::dup2(output, 1);
    ::dup2(error, 2);
    std::vector<char*> argv{const_cast<char*>(executable.c_str())};
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    ::execv(executable.c_str(), argv.data());
    ::_exit(127);
}

// Runs a built executable as a person would from a shell: extra environment
// variables, standard input from `input`, outputs captured through files in `scratch`.
inline CommandRun runCommand(const std::string& executable, const std::vector<std::string>& arguments,
                             const std::map<std::string, std::string>& environment,
                             const std::filesystem::path& scratch, const std::string& input = "") {
    const auto inPath = scratch / "command.in";
    const auto outPath = scratch / "command.out";
    const auto errPath = scratch / "command.err";
    writeFileAtomically(inPath, input);
    const pid_t child = ::fork();
    if (child == 0) {
        for (const auto& [name, value] : environment) ::setenv(name.c_str(), value.c_str(), 1);
        execWithStreams(executable, arguments, inPath.c_str(), outPath.c_str(), errPath.c_str());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return CommandRun{WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFileIfPresent(outPath).value_or(""),
                      readFileIfPresent(errPath).value_or("")};
}

}  // namespace dorvane::testing
