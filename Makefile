# The two commands of the README, each doing its own set-up: install packages, configure, build.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
SAMPLE ?= examples/vbp/Inventory.vbp

.PHONY: deps configure build run test bench format-check clean

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

bench: build
	./bench/run-all.sh $(BUILD_DIR)

# Lists the C++ files that clang-format would change (not part of `make test`).
format-check:
	@git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' | \
	  xargs clang-format --dry-run -Werror

clean:
	rm -rf $(BUILD_DIR)
