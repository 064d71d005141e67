// The round trip of one display snapshot as the engine pays it: starting
// `corvelle --worker snapshot` against a two-display host and reading its answer,
// beside starting /bin/true in the same run. The difference is the worker's own share;
// the executable loads no toolkit, so the share is what the worker does, not what it links.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;

double runOnce(const std::vector<std::string>& command, const fs::path& output) {
    std::vector<char*> argv;
    for (const auto& part : command) argv.push_back(const_cast<char*>(part.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        std::perror("posix_spawn");
        std::exit(1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    const auto end = std::chrono::steady_clock::now();
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", argv[0]);
        std::exit(1);
    }
    return std::chrono::duration<double, std::milli>(end - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    const fs::path folder = fs::temp_directory_path() / ("corvelle-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);
    setenv("CORVELLE_HOST_DIR", (folder / "host").c_str(), 1);
    const fs::path output = folder / "out";
    runOnce({CORVELLE_HOST_TOOL, "init", "--fixture", "laptop+external"}, output);

    constexpr int rounds = 200;
    std::vector<double> worker, baseline;
    for (int i = 0; i < rounds; ++i) {
        // Interleaved, so both see the same machine load.
        baseline.push_back(runOnce({"/bin/true"}, output));
        worker.push_back(runOnce({CORVELLE_EXECUTABLE, "--worker", "snapshot"}, output));
    }
    const double workerMedian = median(worker);
    const double baselineMedian = median(baseline);
    std::printf("worker snapshot round trip: median %.3f ms over %d runs\n", workerMedian, rounds);
    std::printf("/bin/true start:            median %.3f ms over %d runs\n", baselineMedian, rounds);
    std::printf("worker's own share:         %.3f ms (target at most 2 ms)\n", workerMedian - baselineMedian);
    std::printf("worker beside /bin/true:    %.2f times (target at most 3)\n", workerMedian / baselineMedian);
    fs::remove_all(folder);
    return 0;
}
