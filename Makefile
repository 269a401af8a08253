# The two commands a new user runs. Each installs what is missing, then
# configures and builds. BUILD_DIR and JOBS may be overridden.
BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
MAKEFLAGS += --no-print-directory
CMAKE_FLAGS ?=

.PHONY: all deps configure build test demo bench coverage fuzz clean format

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

demo: build
	@$(BUILD_DIR)/tools/lumivar demo

bench: build
	@bash scripts/run-benchmarks.sh $(BUILD_DIR)/bench

# Line coverage of the test suites per module (build-coverage/, gcov + gcovr).
coverage:
	@bash scripts/install-deps.sh coverage
	@cmake -S . -B build-coverage -DCMAKE_BUILD_TYPE=Debug -DLUMIVAR_COVERAGE=ON \
	  -DLUMIVAR_BUILD_BENCH=OFF -DLUMIVAR_BUILD_QT=OFF >/dev/null
	@# gcov finds the sources through the paths compiled in; the compiler
	@# cache would make them relative to its base folder.
	@env -u CCACHE_BASEDIR cmake --build build-coverage -j $(JOBS)
	@find build-coverage -name '*.gcda' -delete
	@cd build-coverage && { ctest -j $(JOBS) --output-on-failure >ctest.log || { cat ctest.log; exit 1; }; } && tail -n 3 ctest.log
	@bash scripts/coverage-report.sh build-coverage

# Every fuzz target for FUZZ_SECONDS on a copy of its seeds (build-fuzz/, clang).
FUZZ_SECONDS ?= 60
fuzz:
	@bash scripts/install-deps.sh fuzz
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz -DLUMIVAR_BUILD_FUZZ=ON -DLUMIVAR_SANITIZE=ON \
	  -DLUMIVAR_BUILD_TESTS=OFF -DLUMIVAR_BUILD_BENCH=OFF -DLUMIVAR_BUILD_TOOLS=OFF \
	  -DLUMIVAR_BUILD_QT=OFF >/dev/null
	@cmake --build build-fuzz -j $(JOBS)
	@bash scripts/run-fuzz.sh build-fuzz $(FUZZ_SECONDS)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD_DIR)
