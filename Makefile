# The two commands a newcomer needs: `make run` and `make test`.
# Each first installs what is missing (Debian packages only).

BUILD_DIR ?= build
TEST_DIR  ?= build-asan
JOBS      ?= $(shell nproc)
GENERATOR := -G Ninja
# The fuzz targets build with clang in a tree of their own. `make fuzz` runs
# each for FUZZ_SECONDS; `make test` runs each for FUZZ_SMOKE_SECONDS.
FUZZ_DIR           ?= build-fuzz
FUZZ_CXX           ?= clang++
FUZZ_SECONDS       ?= 60
FUZZ_SMOKE_SECONDS ?= 5
FUZZ_JOBS          ?= $(JOBS)

.PHONY: all build test run bench fuzz fuzz-build fuzz-smoke screenshots clean deps-build deps-test deps-run

all: build

deps-build:
	@scripts/install-deps.sh build
deps-test:
	@scripts/install-deps.sh test
deps-run:
	@scripts/install-deps.sh run

# Release build: build/bin/watchkeep, watchkeep-cli, gz4410-sim.
build: deps-build
	cmake -S . -B $(BUILD_DIR) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DWK_BUILD_TESTS=OFF -DWK_BUILD_BENCH=OFF
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Every test, in a tree built with AddressSanitizer and UndefinedBehaviorSanitizer,
# then a short run of every fuzz target, so that a new crash fails too.
test: deps-test
	cmake -S . -B $(TEST_DIR) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DWK_SANITIZE=ON -DWK_WERROR=ON -DWK_BUILD_BENCH=OFF
	cmake --build $(TEST_DIR) -j $(JOBS)
	cd $(TEST_DIR) && ctest --output-on-failure --no-tests=error --timeout 300 -j $(JOBS)
	@$(MAKE) --no-print-directory fuzz-smoke

# The libFuzzer targets of fuzz/ (see fuzz/README.md).
fuzz-build: deps-test
	cmake -S . -B $(FUZZ_DIR) $(GENERATOR) -DCMAKE_CXX_COMPILER=$(FUZZ_CXX) -DCMAKE_BUILD_TYPE=Debug -DWK_FUZZ=ON \
	  -DWK_BUILD_GUI=OFF -DWK_BUILD_TESTS=OFF -DWK_BUILD_BENCH=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS) -t fuzzers

fuzz: fuzz-build
	scripts/run-fuzzers.sh $(FUZZ_DIR) $(FUZZ_SECONDS) $(FUZZ_JOBS)

fuzz-smoke: fuzz-build
	scripts/run-fuzzers.sh $(FUZZ_DIR) $(FUZZ_SMOKE_SECONDS) $(FUZZ_JOBS)

# Starts the program against the controller simulator.
run: deps-run build
	scripts/run-with-simulator.sh $(BUILD_DIR)/bin

# Benchmarks, in an optimised tree of their own.
bench: deps-test
	cmake -S . -B build-bench $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DWK_BUILD_TESTS=OFF -DWK_BUILD_BENCH=ON
	cmake --build build-bench -j $(JOBS)
	scripts/run-benchmarks.sh build-bench/bin

clean:
	rm -rf $(BUILD_DIR) $(TEST_DIR) $(FUZZ_DIR) build-bench
