#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include <sys/types.h>

namespace dorvane::testing {

// The files a running process has mapped, from /proc/PID/maps: its executable and every
// shared library the loader or dlopen brought in.
inline std::set<std::string> mappedFiles(pid_t pid) {
    std::set<std::string> files;
    std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
    std::string line;
    while (std::getline(maps, line)) {
        // address perms offset device inode path
        std::istringstream fields(line);
        std::string address, perms, offset, device, inode, path;
        fields >> address >> perms >> offset >> device >> inode;
        std::getline(fields >> std::ws, path);
        if (path.starts_with("/")) files.insert(path);
    }
    return files;
}

// The mapped files whose name says they are a Qt library.
inline std::set<std::string> qtLibraries(const std::set<std::string>& files) {
    std::set<std::string> qt;
    std::copy_if(files.begin(), files.end(), std::inserter(qt, qt.end()), [](const std::string& file) {
        return std::filesystem::path(file).filename().string().starts_with("libQt");
    });
    return qt;
}

// The system call a stopped process waits in (its number), from /proc/PID/syscall; -1
// while it runs or when that cannot be read.
inline long waitingSystemCall(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/syscall");
    long number = -1;
    if (!(in >> number)) return -1;
    return number;
}

}  // namespace dorvane::testing
