# The front door: `make run` starts the program, `make test` runs every test.
SHELL := /bin/bash
.DEFAULT_GOAL := test
JOBS ?= $(shell nproc)

.PHONY: deps test test-native test-sanitize

deps:
	@bash scripts/install-deps.sh all

test: deps test-native
	@echo "All test stages passed."

test-native:
	cmake --preset native >/dev/null
	cmake --build --preset native -j $(JOBS)
	ctest --preset native -j $(JOBS)

test-sanitize: deps
	cmake --preset native-sanitize >/dev/null
	cmake --build --preset native-sanitize -j $(JOBS)
	ctest --preset native-sanitize -j $(JOBS)
