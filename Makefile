# One-command entry points; see README.md.
#   make run [PROGRAM=tolvane]   build, then start a program under Wine
#   make test                    build, then the whole test suite
PRESET ?= mingw-gcc
PROGRAM ?= skarrow

.PHONY: all setup build run test clean

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

clean:
	rm -rf build build-*
