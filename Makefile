# The two commands a newcomer needs: `make run` and `make test`.
# Each first installs what is missing (Debian packages only).

BUILD_DIR ?= build
TEST_DIR  ?= build-asan
JOBS      ?= $(shell nproc)
GENERATOR := -G Ninja

.PHONY: all build test run bench screenshots clean deps-build deps-test deps-run

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

# Every test, in a tree built with AddressSanitizer and UndefinedBehaviorSanitizer.
test: deps-test
	cmake -S . -B $(TEST_DIR) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DWK_SANITIZE=ON -DWK_WERROR=ON -DWK_BUILD_BENCH=OFF
	cmake --build $(TEST_DIR) -j $(JOBS)
	cd $(TEST_DIR) && ctest --output-on-failure --no-tests=error --timeout 300 -j $(JOBS)

# Starts the program against the controller simulator.
run: deps-run build
	scripts/run-with-simulator.sh $(BUILD_DIR)/bin

# Benchmarks, in an optimised tree of their own.
bench: deps-test
	cmake -S . -B build-bench $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DWK_BUILD_TESTS=OFF -DWK_BUILD_BENCH=ON
	cmake --build build-bench -j $(JOBS)
	scripts/run-benchmarks.sh build-bench/bin

clean:
	rm -rf $(BUILD_DIR) $(TEST_DIR) build-bench
