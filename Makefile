# The two set-up commands: `make run` and `make test`. Both install what is missing first.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_GENERATOR ?= Ninja
FUZZ_SECONDS ?= 600
# An earlier build of velloran-batch that the batch benchmarks run beside this one (optional).
BASELINE_BATCH ?=

.PHONY: deps run test bench fuzz install clean
PREFIX ?= $(HOME)/.local

deps:
	@scripts/install-deps.sh

# Builds with AddressSanitizer and UndefinedBehaviorSanitizer, warnings as errors, and runs every
# test; the benchmarks are built too (not run), so that they keep up with the code they measure.
test: deps
	cmake -S . -B $(BUILD)/asan -G $(CMAKE_GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DVELLORAN_SANITIZE=ON -DVELLORAN_BENCH=ON -DVELLORAN_WERROR=ON
	cmake --build $(BUILD)/asan -j$(JOBS)
	cd $(BUILD)/asan && ctest --output-on-failure -j$(JOBS)

# Builds a release build and starts the program.
run: deps
	cmake -S . -B $(BUILD)/release -G $(CMAKE_GENERATOR) -DCMAKE_BUILD_TYPE=Release -DVELLORAN_TESTS=OFF
	cmake --build $(BUILD)/release -j$(JOBS)
	$(BUILD)/release/src/app/velloran

bench: deps
	cmake -S . -B $(BUILD)/bench -G $(CMAKE_GENERATOR) -DCMAKE_BUILD_TYPE=Release -DVELLORAN_TESTS=OFF -DVELLORAN_BENCH=ON -DVELLORAN_BASELINE_BATCH="$(BASELINE_BATCH)"
	cmake --build $(BUILD)/bench -j$(JOBS)
	for benchmark in $(BUILD)/bench/bench/*_bench; do $$benchmark --benchmark_repetitions=5 --benchmark_report_aggregates_only=true || exit 1; done

# Fuzzes the design-file reader and then the picture decoders for FUZZ_SECONDS each; new inputs
# that widen coverage are kept in the corpora that the tests replay.
fuzz: deps
	CXX=clang++ cmake -S . -B $(BUILD)/fuzz -G $(CMAKE_GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLORAN_TESTS=OFF -DVELLORAN_FUZZ=ON
	cmake --build $(BUILD)/fuzz -j$(JOBS)
	mkdir -p $(BUILD)/fuzz/new-corpus $(BUILD)/fuzz/new-picture-corpus
	$(BUILD)/fuzz/tests/model/readdesign_fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=65536 \
		$(BUILD)/fuzz/new-corpus tests/model/fuzz-corpus tests/model/corpus
	$(BUILD)/fuzz/tests/model/readdesign_fuzz -merge=1 tests/model/fuzz-corpus $(BUILD)/fuzz/new-corpus
	$(BUILD)/fuzz/tests/render/picture_fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=65536 -rss_limit_mb=4096 \
		$(BUILD)/fuzz/new-picture-corpus tests/render/fuzz-corpus
	$(BUILD)/fuzz/tests/render/picture_fuzz -merge=1 tests/render/fuzz-corpus $(BUILD)/fuzz/new-picture-corpus

# Installs the program for the current user (PREFIX=/usr/local for everyone) with the desktop
# entry and the design file type, so design files open in it from the file manager.
install: deps
	cmake -S . -B $(BUILD)/release -G $(CMAKE_GENERATOR) -DCMAKE_BUILD_TYPE=Release -DVELLORAN_TESTS=OFF
	cmake --build $(BUILD)/release -j$(JOBS)
	cmake --install $(BUILD)/release --prefix $(PREFIX)
	-update-mime-database $(PREFIX)/share/mime
	-update-desktop-database $(PREFIX)/share/applications

clean:
	rm -rf $(BUILD)
