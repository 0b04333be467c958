# The two commands of the README, each doing its own set-up: install packages, configure, build.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
SAMPLE ?= examples/vbp/Inventory.vbp

.PHONY: deps configure build run test bench format-check clean windows test-windows

deps:
	./scripts/install-deps.sh

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	./scripts/run-gui.sh $(BUILD_DIR)/src/kemptor $(SAMPLE)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# kemptor-cli.exe for 64-bit Windows, cross-compiled with mingw-w64 into $(WIN_BUILD_DIR)/src/.
WIN_BUILD_DIR ?= build-win

$(WIN_BUILD_DIR)/build.ninja:
	cmake -S . -B $(WIN_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake

windows: deps $(WIN_BUILD_DIR)/build.ninja
	cmake --build $(WIN_BUILD_DIR) -j $(JOBS) --target kemptor-cli

# The core's tests built for Windows and run under Wine, then the Linux and Windows programs compared
# on the sample files and projects.
test-windows: windows build
	cmake --build $(WIN_BUILD_DIR) -j $(JOBS)
	cd $(WIN_BUILD_DIR) && ctest --output-on-failure -j $(JOBS)
	./scripts/check-windows.sh $(BUILD_DIR)/src/kemptor-cli $(WIN_BUILD_DIR)/src/kemptor-cli.exe

bench: build
	./bench/run-all.sh $(BUILD_DIR)

# Lists the C++ files that clang-format would change (not part of `make test`).
format-check:
	@git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' | \
	  xargs clang-format --dry-run -Werror

clean:
	rm -rf $(BUILD_DIR) $(WIN_BUILD_DIR)
