# Set-up and everyday commands. Each target installs what is missing first.
BUILD       ?= build
BUILD_ASAN  ?= build-asan
BUILD_TYPE  ?= RelWithDebInfo
CMAKE_FLAGS ?=

.PHONY: deps build test asan clean

deps:
	scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS)
	cmake --build $(BUILD)

# Runs every test.
test: build
	ctest --test-dir $(BUILD) --output-on-failure -j2

# The Qt-free tests once more under AddressSanitizer and UndefinedBehaviorSanitizer.
asan: deps
	cmake -S . -B $(BUILD_ASAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZEL_SANITIZE=ON \
	      -DZEL_QT_FREE_ONLY=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD_ASAN)
	ctest --test-dir $(BUILD_ASAN) --output-on-failure -j2

clean:
	rm -rf $(BUILD) $(BUILD_ASAN)
