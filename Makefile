# One-command entry points; see README.md.
#   make run [PROGRAM=tolvane]   build, then start a program under Wine
#   make test [PRESET=mingw-clang]  build, then the test suite (without the soak)
#   make soak                    the soak test: minutes of load and repeated starts
#   make bench [RUNS=7]          start-up, exit and memory figures of both programs
PRESET ?= mingw-gcc
PROGRAM ?= skarrow
RUNS ?= 7

.PHONY: all setup build run test soak bench clean

all: build

setup:
	tools/setup.sh

build: setup
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET)

run: build
	tools/run $(PROGRAM)

test: build
	tools/wine-session ctest --preset $(PRESET) $(ARGS)

soak: build
	tools/wine-session ctest --preset soak $(ARGS)

bench: build
	tools/wine-session tools/wine-run build/bin/bench.exe $(RUNS)

clean:
	rm -rf build build-*
