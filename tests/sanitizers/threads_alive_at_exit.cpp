// Loads a library with a thread-local, has many threads touch it, and returns from main
// while they are all still alive: the leak check at exit then stops them and scans each
// one's dynamic TLS. With g++ 12's AddressSanitizer runtime and its __tls_get_addr
// interceptor on, some of those blocks are misread and the check crashes ("Tracer caught
// signal 11") every run; `make sanitize` turns the interceptor off. Exits 0 when the check
// got through.

#include <dlfcn.h>
#include <pthread.h>
#include <unistd.h>

#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <mutex>

namespace {

constexpr int kThreads = 400;

using Touch = std::uint64_t (*)();
Touch touch = nullptr;
std::mutex mutex;
std::condition_variable allTouched;
int ready = 0;

void* touchAndStay(void*) {
    touch();
    {
        std::lock_guard lock(mutex);
        if (++ready == kThreads) allTouched.notify_one();
    }
    // Never let go: the thread is alive when main returns.
    for (;;) pause();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: threads_alive_at_exit LIBRARY\n");
        return 2;
    }
    void* library = dlopen(argv[1], RTLD_NOW);
    if (!library) {
        std::fprintf(stderr, "%s\n", dlerror());
        return 2;
    }
    touch = reinterpret_cast<Touch>(dlsym(library, "touchThreadLocal"));
    if (!touch) {
        std::fprintf(stderr, "%s\n", dlerror());
        return 2;
    }
    for (int i = 0; i < kThreads; ++i) {
        pthread_t thread;
        if (pthread_create(&thread, nullptr, touchAndStay, nullptr) != 0) {
            std::fprintf(stderr, "cannot start thread %d\n", i);
            return 2;
        }
    }
    std::unique_lock lock(mutex);
    allTouched.wait(lock, [] { return ready == kThreads; });
    return 0;
}
