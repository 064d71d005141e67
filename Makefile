# Entry points for people and CI. `make test` does everything a fresh clone needs.
BUILD_DIR   ?= build
BENCH_DIR   ?= build-bench
BUILD_TYPE  ?= Debug
JOBS        ?= $(shell nproc)

.PHONY: all bootstrap configure build test run bench screenshots clean

all: build

bootstrap:
	@scripts/bootstrap

configure: bootstrap
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DCORVELLE_WERROR=ON >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) --parallel $(JOBS)

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure --parallel $(JOBS) --timeout 120

# Starts the program (ARGS="--check" and so on pass a mode).
run: build
	@$(BUILD_DIR)/Dorvane/corvelle $(ARGS)

# The visual components over a drawn desktop, under Xvfb with a compositor, into docs/screenshots/.
screenshots: build
	@scripts/screenshots $(BUILD_DIR)/tools/corvelle-screenshots/corvelle-screenshots docs/screenshots

bench: bootstrap
	@cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DCORVELLE_BUILD_TESTS=OFF -DCORVELLE_BUILD_BENCH=ON >/dev/null
	@cmake --build $(BENCH_DIR) --parallel $(JOBS)
	@for b in $(BENCH_DIR)/bench/*_bench; do echo "== $$b"; $$b; done

clean:
	rm -rf $(BUILD_DIR) $(BENCH_DIR)
