# Set-up and everyday commands. Each target installs what is missing first.
BUILD       ?= build
BUILD_ASAN  ?= build-asan
BUILD_TYPE  ?= RelWithDebInfo
CMAKE_FLAGS ?=

.PHONY: deps build test demo asan screenshots clean

deps:
	scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS)
	cmake --build $(BUILD)

# The main job on the built-in simulator: programs the example document into
# a simulated option board on COM1, then reads it back and verifies it.
demo: build
	TARVO_COM1=sim $(BUILD)/bin/zeltool program examples/demo.zel --port 1 --verify

# The main window and every dialog, rendered offscreen for the README.
screenshots: build
	$(BUILD)/bin/zel-screenshots examples/demo.zel docs/screenshots

# Runs every test.
test: build
	ctest --test-dir $(BUILD) --output-on-failure -j2

# Every test once more under AddressSanitizer and UndefinedBehaviorSanitizer,
# the widget tests included (they need no leak suppressions).
asan: deps
	cmake -S . -B $(BUILD_ASAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZEL_SANITIZE=ON \
	      $(CMAKE_FLAGS)
	cmake --build $(BUILD_ASAN)
	ctest --test-dir $(BUILD_ASAN) --output-on-failure -j2

# The Qt-free programs and libraries for Windows, cross-built and proven
# under Wine, with zeltool.exe programming tarvo-sim through a Wine COM port.
BUILD_WIN ?= build-win
.PHONY: windows
windows: build
	scripts/windows-check $(BUILD_WIN) $(BUILD)

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_WIN)

# Each fuzzer for FUZZ_SECONDS under ASan+UBSan, starting from its corpus in
# fuzz/corpus/ (new finds go to build-fuzz/corpus/, not into the repository).
BUILD_FUZZ   ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZERS      := zel_load reply_deframing reply_checks settings json_import image_decode
.PHONY: fuzz
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(BUILD_FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	      -DZEL_FUZZ=ON -DZEL_QT_FREE_ONLY=ON -DZEL_BUILD_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build $(BUILD_FUZZ)
	for f in $(FUZZERS); do \
	    mkdir -p $(BUILD_FUZZ)/corpus/$$f && \
	    $(BUILD_FUZZ)/bin/$${f}_fuzzer -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	        $(BUILD_FUZZ)/corpus/$$f fuzz/corpus/$$f || exit 1; \
	done
