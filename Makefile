# Kerbina: the two everyday commands are `make run` and `make test`.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
# Our own builds treat warnings as errors; a plain cmake configure does not.
DEV_FLAGS := -DKERBINA_WARNINGS_AS_ERRORS=ON

.PHONY: all deps configure build run test release package sanitize bench fuzz format format-check clean

all: build

deps:
	@scripts/install-deps

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja $(DEV_FLAGS) $(CMAKE_FLAGS)

configure: $(BUILD_DIR)/build.ninja

build: deps configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/bin/kerbina $(ARGS)

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# A Release build as a user or packager makes it: no warnings as errors, no tests.
release: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS)

# The Debian package of the release build: build-release/kerbina_<version>_<arch>.deb.
package: release
	cd build-release && cpack

# Every test once more under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	cmake --preset sanitizers
	cmake --build --preset sanitizers -j $(JOBS)
	ctest --preset sanitizers -j $(JOBS)

bench: deps
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKERBINA_BUILD_BENCH=ON $(DEV_FLAGS) \
		-DKERBINA_BUILD_UI=OFF -DKERBINA_BUILD_TESTS=OFF
	cmake --build build-bench -j $(JOBS) --target kerbina_bench
	build-bench/bench/kerbina_bench --benchmark_min_time=0.2 $(BENCH_ARGS)

# Builds the libFuzzer targets with clang, ASan and UBSan. Run one with, for example:
#   build-fuzz/fuzz/fuzz_quotation_file fuzz/corpus/quotation_file -max_total_time=600
fuzz:
	KERBINA_WITH_FUZZ=1 scripts/install-deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(DEV_FLAGS) \
		-DKERBINA_BUILD_FUZZ=ON -DKERBINA_BUILD_UI=OFF -DKERBINA_BUILD_TESTS=OFF
	cmake --build build-fuzz -j $(JOBS)

format:
	find src tests bench fuzz -name '*.cpp' -o -name '*.h' | xargs clang-format -i

format-check: deps
	find src tests bench fuzz -name '*.cpp' -o -name '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD_DIR) build-release build-sanitizers build-bench build-fuzz
