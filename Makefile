# Entry points for people and CI. `make test` does everything a fresh clone needs.
BUILD_DIR   ?= build
BENCH_DIR   ?= build-bench
ASAN_DIR    ?= build-asan
TSAN_DIR    ?= build-tsan
FUZZ_DIR    ?= build-fuzz
# The tree make test builds and make run starts is optimised as the program ships (-O2),
# with the checks that a member runs on its own queue kept (no NDEBUG) and line tables for
# backtraces; BUILD_TYPE=Debug gives an unoptimised one. The sanitizer trees stay Debug.
BUILD_TYPE  ?= RelWithDebInfo
OPTIMIZE    ?= -O2
JOBS        ?= $(shell nproc)
# libFuzzer needs clang; Debian's clang 14 cannot compile the core against libstdc++ 12.
FUZZ_CXX    ?= clang++-16
FUZZ_SECONDS ?= 60
SANITIZE_FUZZ_SECONDS ?= 10
# Every tree but the benchmarks' keeps line tables only: failures, backtraces and sanitizer
# reports still name file and line, and a two-core build of the test tree is a minute shorter
# than with full debug information. DEBUG_INFO=-g gives a debugger the variables too.
DEBUG_INFO  ?= -g1

# A sanitizer report fails the run at once, in every process (worker children included).
# The suppression files name third-party libraries only.
# intercept_tls_get_addr=0: g++ 12's runtime misreads a thread's dynamic TLS block that starts
# just past a page boundary as a block with a header, and the leak check at exit then scans
# garbage and crashes ("Tracer caught signal 11"), at random in programs whose threads touch
# thread-locals of libraries loaded later (Qt's plugins). Without the interceptor those blocks
# are ordinary heap blocks, reached from each thread's TLS vector, so the check still follows
# every pointer they hold and still reports every block nothing reaches
# (tests/sanitizers/ holds both to it).
ASAN_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:intercept_tls_get_addr=0 \
           LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0 \
           UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
TSAN_ENV = TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$(CURDIR)/tests/sanitizers/tsan.supp

# ctest counts four slots per core; each test says how many it takes (cmake/CorvelleTesting.cmake),
# so the tests that mostly wait on a program run several to a core beside the busy ones.
run-tests = ctest --output-on-failure --timeout $(1) --parallel $$(( $(JOBS) * 4 ))

# Every tree is built with the same warnings, as errors.
WARNINGS = -DCORVELLE_WERROR=ON

# Recipes run in bash, so that a pipe fails with its first failing command.
SHELL := /bin/bash
.SHELLFLAGS := -o pipefail -c

.PHONY: all bootstrap configure build test run bench bench-build screenshots sanitize fuzz clean

all: build

bootstrap:
	@scripts/bootstrap

configure: bootstrap
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DCMAKE_CXX_FLAGS_DEBUG=$(DEBUG_INFO) \
	  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$(OPTIMIZE) $(DEBUG_INFO)" $(WARNINGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) --parallel $(JOBS)

test: build
	@cd $(BUILD_DIR) && $(call run-tests,120)

# Starts the program (ARGS="--check" and so on pass a mode); says nothing of the build
# when there was nothing to rebuild. Builds only what it runs: the program, its application
# library, and corvelle-host for the second terminal (not the tests).
RUN_TARGETS = corvelle corvelle-application corvelle-host
run: configure
	@cmake --build $(BUILD_DIR) --parallel $(JOBS) --target $(RUN_TARGETS) | \
	  sed -e '/^\[0\/[0-9]*\] Re-checking globbed directories\.\.\.$$/d' -e '/^ninja: no work to do\.$$/d'
	@$(BUILD_DIR)/Dorvane/corvelle $(ARGS)

# The visual components over a drawn desktop, under Xvfb with a compositor, into docs/screenshots/.
screenshots: build
	@scripts/screenshots $(BUILD_DIR)/tools/corvelle-screenshots/corvelle-screenshots docs/screenshots

# The benchmarks' Release tree, built without running anything (CI builds it so).
bench-build: bootstrap
	@cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release $(WARNINGS) -DCORVELLE_BUILD_TESTS=OFF \
	  -DCORVELLE_BUILD_BENCH=ON >/dev/null
	@cmake --build $(BENCH_DIR) --parallel $(JOBS)

bench: bench-build
	@for b in $(BENCH_DIR)/bench/*_bench; do echo "== $$b"; $$b; done

SANITIZE_CONFIG = -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=$(DEBUG_INFO)

# The whole suite, cli tests included, once under AddressSanitizer with
# UndefinedBehaviorSanitizer and once under ThreadSanitizer (but for the core's
# single-threaded unit tests), then a short run of every fuzzer.
sanitize: bootstrap
	@cmake -S . -B $(ASAN_DIR) $(SANITIZE_CONFIG) $(WARNINGS) -DCORVELLE_SANITIZE=address >/dev/null
	@cmake --build $(ASAN_DIR) --parallel $(JOBS)
	@cd $(ASAN_DIR) && export $(ASAN_ENV) && $(call run-tests,300)
	@cmake -S . -B $(TSAN_DIR) $(SANITIZE_CONFIG) $(WARNINGS) -DCORVELLE_SANITIZE=thread >/dev/null
	@cmake --build $(TSAN_DIR) --parallel $(JOBS)
	@cd $(TSAN_DIR) && export $(TSAN_ENV) && $(call run-tests,300)
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=$(SANITIZE_FUZZ_SECONDS)

# Builds a libFuzzer target per strict decoder (address and undefined sanitizers) and runs
# each for FUZZ_SECONDS from the seeds in tests/fuzz/corpus, JOBS of them at a time.
fuzz: bootstrap
	@cmake -S . -B $(FUZZ_DIR) $(SANITIZE_CONFIG) $(WARNINGS) -DCMAKE_CXX_FLAGS=-O1 \
	  -DCMAKE_CXX_COMPILER=$(FUZZ_CXX) -DCORVELLE_BUILD_TESTS=OFF -DCORVELLE_BUILD_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_DIR) --parallel $(JOBS) --target corvelle-fuzzers
	@$(ASAN_ENV) scripts/run-fuzzers $(FUZZ_DIR)/tests/fuzz tests/fuzz/corpus $(FUZZ_SECONDS) $(JOBS)

clean:
	rm -rf $(BUILD_DIR) $(BENCH_DIR) $(ASAN_DIR) $(TSAN_DIR) $(FUZZ_DIR)
