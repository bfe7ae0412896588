# A thin layer over the CMake presets, so that one word builds, runs or tests on a fresh Debian 12.

.PHONY: all deps build run test asan fuzz bench package package-check startup clean

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

# A .deb of the release build; its library dependencies come from the binary.
package: deps
	cmake --preset release
	cmake --build --preset release
	cpack --preset release

# Installs that .deb with apt and starts the installed program on a private X server.
package-check: package
	scripts/check-package

# Start-up cost and click-to-answer time against a bare Qt window (not a test: it reports).
startup: deps
	cmake --preset release
	cmake --build --preset release
	/usr/bin/python3 bench/startup.py build/release/app/quorvel build/release/bench/startup_floor \
		--kinds build/release/bench/startup_kinds

clean:
	rm -rf build
