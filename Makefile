# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# A thin layer over the CMake presets, so that one word builds, runs or tests on a fresh Debian 13
# or 12. Each target first installs the groups of Debian packages it needs.

.PHONY: all deps build run test asan fuzz bench package package-check reproducible distcheck icons \
	orca gnome startup clean

all: build

# The default build runs the format check and requires every test's tools.
deps:
	scripts/install-deps build presets test

build: deps
	cmake --preset default
	cmake --build --preset default

run: build
	build/default/app/quorvel

test: build
	ctest --preset default

# Every test again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
asan: deps
	scripts/install-deps sanitizers
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

# A bounded libFuzzer run of the evaluation (200,000 inputs).
fuzz: deps
	scripts/install-deps sanitizers
	cmake --preset fuzz
	cmake --build --preset fuzz
	ctest --preset fuzz

bench: deps
	scripts/install-deps bench
	cmake --preset release
	cmake --build --preset release
	build/release/eval/odds_bench
	QT_QPA_PLATFORM=offscreen build/release/bench/fields_bench

# The .deb, built as Debian builds its packages (hardened, reproducible) in build/package.
package: deps
	scripts/install-deps package
	scripts/build-package

# lintian and hardening-check on that .deb, then installs it with apt and starts the program.
package-check: package
	scripts/check-package

# Builds the package again from a clone elsewhere, under another umask, and compares the bytes.
reproducible: package
	scripts/check-reproducible

# The tarball of the last commit built as a Debian maintainer would, in a clean chroot.
distcheck:
	scripts/install-deps chroot
	scripts/distcheck $(SUITE)

# The icon's PNGs, made again from its text source after an edit.
icons: build
	cmake --build --preset default --target iconpng
	for size in 32 48 64 128 256; do \
		build/default/tools/iconpng assets/quorvel.xpm assets/icons/quorvel-$$size.png $$size; \
	done

# What the Orca screen reader says, step by step, while the window is used from the keyboard; and
# where the window lands under GNOME (GNOME Shell on X11, mutter with Xwayland, Wayland alone).
# Both report, neither tests. With SUITE=trixie (or forky, sid, bookworm), on that Debian
# release, in a chroot of it.
ifdef SUITE
orca gnome:
	scripts/install-deps chroot
	scripts/in-chroot $(SUITE) make $@
else
orca: build
	scripts/install-deps orca
	scripts/orca-transcript build/default/app/quorvel

gnome: build
	scripts/install-deps gnome
	scripts/gnome-check build/default/app/quorvel build/gnome.png
endif

# Start-up cost and click-to-answer time against a bare Qt window (not a test: it reports).
startup: deps
	scripts/install-deps bench
	cmake --preset release
	cmake --build --preset release
	/usr/bin/python3 bench/startup.py build/release/app/quorvel build/release/bench/startup_floor \
		--kinds build/release/bench/startup_kinds --desktop-fonts build/release/bench/desktop-fonts

clean:
	rm -rf build
