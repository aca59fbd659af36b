# The front door: `make run` starts the program, `make test` runs every test.
SHELL := /bin/bash
.DEFAULT_GOAL := test
JOBS ?= $(shell nproc)

.PHONY: deps run test test-native test-sanitize test-windows test-valgrind bench fuzz dist \
	check-dist mutate

# Installs what is missing, builds the Windows program and starts it (under Wine on
# Linux); without a display it leaves a screenshot in build/screenshots/ instead.
run:
	@JOBS=$(JOBS) bash scripts/run.sh

deps:
	@bash scripts/install-deps.sh all

test: deps test-native test-windows
	@echo "All test stages passed."

test-native:
	cmake --preset native >/dev/null
	cmake --build --preset native -j $(JOBS)
	ctest --preset native -j $(JOBS)
	@# Every command README.md and docs/ show, run as shown (after the build it relies on).
	python3 scripts/check-doc-commands.py

# The Windows build: x86-64 tests run under Wine; the x86 build is only built (this
# kernel cannot run 32-bit programs) and its executables checked.
test-windows:
	cmake --preset windows-x64 >/dev/null
	cmake --build --preset windows-x64 -j $(JOBS)
	bash cmake/with-display.sh ctest --preset windows-x64 -j $(JOBS)
	cmake --preset windows-x86 >/dev/null
	cmake --build --preset windows-x86 -j $(JOBS)
	cmake/check-pe-imports.sh i686-w64-mingw32-objdump pei-i386 build/windows-x86

test-sanitize: deps
	cmake --preset native-sanitize >/dev/null
	cmake --build --preset native-sanitize -j $(JOBS)
	ctest --preset native-sanitize -j $(JOBS)

# The native test executables under valgrind's memcheck: no errors, no leaks.
test-valgrind: deps
	cmake --preset native >/dev/null
	cmake --build --preset native -j $(JOBS)
	python3 scripts/test-valgrind.py build/native $(JOBS)

# Release build; every figure side by side with OpenSSL's, once as it is and once
# restricted to its integer code. BENCH_REPETITIONS and BENCH_MIN_TIME tune the runs.
bench: deps
	cmake --preset native-release >/dev/null
	cmake --build --preset native-release --target kestrow_bench -j $(JOBS)
	bash scripts/bench.sh build/native-release/bench/kestrow_bench

# Each fuzz target for FUZZ_SECONDS, from a copy of its seed corpus in fuzz/corpus/.
FUZZ_SECONDS ?= 60
fuzz: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz --target kestrow_fuzzers -j $(JOBS)
	bash scripts/fuzz.sh build/fuzz $(FUZZ_SECONDS)

# How many planted faults the tests catch, in a fresh clone of HEAD (see scripts/mutate.sh).
# Not part of `make test` or CI: each fault costs a rebuild and a test run.
MUTATE_N ?= 120
MUTATE_SEED ?= 7
mutate: deps
	JOBS=$(JOBS) bash scripts/mutate.sh $(MUTATE_N) $(MUTATE_SEED) $(MUTATE_FILES)

# Release packages of the committed tree in dist/ (see scripts/dist.sh); refuses a
# working tree with changes. Not part of `make test`: it builds everything again.
# `make dist SIGN_PFX=cert.pfx SIGN_PASS_FILE=password-file` signs the Windows programs
# and installers (the two reach scripts/sign.sh through the environment).
dist:
	@bash scripts/install-deps.sh dist
	bash scripts/dist.sh $(JOBS)

# Two `make dist` runs of HEAD in two fresh clones must agree to the byte; then the
# packages are unpacked and run. Leaves the checked packages in dist/.
check-dist:
	@bash scripts/install-deps.sh dist
	bash scripts/check-reproducible.sh $(JOBS)
	bash scripts/check-packages.sh dist
