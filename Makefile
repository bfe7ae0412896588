# A thin layer over the CMake presets, so that one word builds, runs or tests on a fresh Debian 12.

.PHONY: all deps build run test asan fuzz bench clean

all: build

deps:
	scripts/install-deps

build: deps
	cmake --preset default
	cmake --build --preset default

run: build
	build/default/app/quorvel

test: build
	ctest --preset default

# Every test again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

# A bounded libFuzzer run of the evaluation (200,000 inputs).
fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz
	ctest --preset fuzz

bench: deps
	cmake --preset release
	cmake --build --preset release
	build/release/eval/odds_bench

clean:
	rm -rf build
