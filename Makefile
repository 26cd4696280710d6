# One-command entry points; see README.md.
#   make run [PROGRAM=tolvane]   build, then start a program under Wine
#   make test [PRESET=mingw-clang]  build, then the test suite (without the soak)
#   make soak                    the soak test: minutes of load and repeated starts
#   make bench [RUNS=7]          start-up, exit and memory figures of both programs
PRESET ?= mingw-gcc
PROGRAM ?= skarrow
RUNS ?= 7
BIN_DIR = $(if $(filter mingw-clang,$(PRESET)),build-clang,build)/bin

.PHONY: all setup build run test soak bench clean

all: build

setup:
	tools/setup.sh

build: setup
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET)

run: build
	BIN_DIR=$(BIN_DIR) tools/run $(PROGRAM)

test: build
	tools/wine-session ctest --preset $(PRESET) $(ARGS)

# The soak preset tests the GCC build, whatever PRESET says.
soak:
	$(MAKE) build PRESET=mingw-gcc
	tools/wine-session ctest --preset soak $(ARGS)

bench: build
	tools/wine-session tools/wine-run $(BIN_DIR)/bench.exe $(RUNS)

clean:
	rm -rf build build-*
