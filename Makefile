# The two commands of the README, each doing its own set-up: install packages, configure, build.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
SAMPLE ?= examples/vbp/Inventory.vbp

.PHONY: deps deps-windows deps-package configure build run test bench format-check clean windows test-windows \
	package check-packages windows-package fuzz vsix

deps:
	./scripts/install-deps.sh

deps-windows:
	./scripts/install-deps.sh --windows

deps-package:
	./scripts/install-deps.sh --package

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

windows: deps-windows $(WIN_BUILD_DIR)/build.ninja
	cmake --build $(WIN_BUILD_DIR) -j $(JOBS) --target kemptor-cli

# The core's tests built for Windows and run under Wine, then the Linux and Windows programs compared
# on the sample files and projects.
test-windows: windows build
	cmake --build $(WIN_BUILD_DIR) -j $(JOBS)
	cd $(WIN_BUILD_DIR) && ctest --output-on-failure -j $(JOBS)
	./scripts/check-windows.sh $(BUILD_DIR)/src/kemptor-cli $(WIN_BUILD_DIR)/src/kemptor-cli.exe

# kemptor-cli-VERSION-win64.zip (the stripped .exe, the licence, README-windows.txt) in $(WIN_BUILD_DIR)/.
windows-package: windows
	cmake --build $(WIN_BUILD_DIR) -j $(JOBS) --target windows-package

# The Debian packages kemptor-cli and kemptor, built in Release in a build directory of their own
# (ccache shares the objects with other builds of the same type) and written into $(BUILD_DIR)/.
PKG_BUILD_DIR ?= build-release

$(PKG_BUILD_DIR)/build.ninja:
	cmake -S . -B $(PKG_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
	  -DKEMPTOR_BUILD_TESTS=OFF

package: deps deps-package $(PKG_BUILD_DIR)/build.ninja
	cmake --build $(PKG_BUILD_DIR) -j $(JOBS) --target kemptor-cli kemptor kemptor_compressed_docs kemptor_icons
	cd $(PKG_BUILD_DIR) && cpack -G DEB -B $(abspath $(BUILD_DIR))
	@ls $(BUILD_DIR)/*.deb

# The packages unpacked into a scratch root and tried there, and the Debian, desktop and AppStream checkers.
check-packages: package
	./scripts/check-packages.sh $(BUILD_DIR) $(SAMPLE)

# The VS Code extension (editors/vscode) as $(BUILD_DIR)/kemptor-vb.vsix: its npm packages as the lock
# file pins them, the TypeScript compiled, the package made.
vsix: deps
	cd editors/vscode && npm ci --no-audit --no-fund && npm run compile
	mkdir -p $(BUILD_DIR)
	cd editors/vscode && npx vsce package --allow-missing-repository --out $(abspath $(BUILD_DIR))/kemptor-vb.vsix

bench: build
	./bench/run-all.sh $(BUILD_DIR)

# Lists the C++ files that clang-format would change (not part of `make test`).
format-check:
	@git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' | \
	  xargs clang-format --dry-run -Werror

# The fuzz targets built by clang with libFuzzer and the sanitizers into $(FUZZ_DIR), each run for
# FUZZ_SECONDS seconds from the sample files and the inputs that once failed (fuzz/regressions/).
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60

$(FUZZ_DIR)/build.ninja:
	CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKEMPTOR_FUZZ=ON \
	  -DKEMPTOR_BUILD_UI=OFF -DKEMPTOR_BUILD_TESTS=OFF

fuzz: deps $(FUZZ_DIR)/build.ninja
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzz_engine fuzz_project_reader
	./scripts/run-fuzz.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD_DIR) $(WIN_BUILD_DIR) $(PKG_BUILD_DIR) $(FUZZ_DIR)
