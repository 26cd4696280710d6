# One-command entry points; see README.md.
#   make run [PROGRAM=tolvane]   build the programs, then start one under Wine
#   make test [PRESET=mingw-clang]  build everything, then the test suite (without the soak)
#   make soak                    the soak test: minutes of load and repeated starts
#   make bench [RUNS=7]          start-up, exit and memory figures of both programs
#   make dist                    the release zip and SHA256SUMS in build/dist/
PRESET ?= mingw-gcc
PROGRAM ?= skarrow
RUNS ?= 7
BIN_DIR = $(if $(filter mingw-clang,$(PRESET)),build-clang,build)/bin
BUILD = cmake --build --preset $(PRESET)

.PHONY: all setup configure build run test soak bench dist clean

all: build

setup:
	tools/setup.sh

configure: setup
	cmake --preset $(PRESET)

build: configure
	$(BUILD)

run: configure
	$(BUILD) --target tolvane skarrow hold_escape
	BIN_DIR=$(BIN_DIR) tools/run $(PROGRAM)

test: build
	tools/wine-session ctest --preset $(PRESET) $(ARGS)

# The soak preset tests the GCC build, whatever PRESET says.
soak:
	$(MAKE) build PRESET=mingw-gcc
	tools/wine-session ctest --preset soak $(ARGS)

bench: configure
	$(BUILD) --target bench
	tools/wine-session tools/wine-run $(BIN_DIR)/bench.exe $(RUNS)

# The release is built with GCC, whatever PRESET says.
dist:
	$(MAKE) configure PRESET=mingw-gcc
	cmake --build --preset mingw-gcc --target dist

clean:
	rm -rf build build-*
