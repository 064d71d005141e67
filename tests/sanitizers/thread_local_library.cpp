// A library with a thread-local of its own. Loaded with dlopen, it gets each thread's copy
// from the dynamic TLS that glibc allocates on the thread's first touch, as the plugins and
// libraries Qt loads after start do.

#include <cstdint>

namespace {
thread_local std::uint64_t touches = 0;
}

extern "C" std::uint64_t touchThreadLocal() { return ++touches; }
