# The front door: `make run` starts the program, `make test` runs every test.
SHELL := /bin/bash
.DEFAULT_GOAL := test
JOBS ?= $(shell nproc)

.PHONY: deps test test-native test-sanitize test-windows

deps:
	@bash scripts/install-deps.sh all

test: deps test-native test-windows
	@echo "All test stages passed."

test-native:
	cmake --preset native >/dev/null
	cmake --build --preset native -j $(JOBS)
	ctest --preset native -j $(JOBS)

# The Windows build: x86-64 tests run under Wine; the x86 build is only built (this
# kernel cannot run 32-bit programs) and its executables checked.
test-windows:
	cmake --preset windows-x64 >/dev/null
	cmake --build --preset windows-x64 -j $(JOBS)
	ctest --preset windows-x64 -j $(JOBS)
	cmake --preset windows-x86 >/dev/null
	cmake --build --preset windows-x86 -j $(JOBS)
	cmake/check-pe-imports.sh i686-w64-mingw32-objdump pei-i386 build/windows-x86

test-sanitize: deps
	cmake --preset native-sanitize >/dev/null
	cmake --build --preset native-sanitize -j $(JOBS)
	ctest --preset native-sanitize -j $(JOBS)
