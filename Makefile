# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# A thin layer over the CMake presets, so that one word builds, runs or tests on a fresh Debian 13
# or 12. Each target first installs the groups of Debian packages it needs.

.PHONY: all deps build run test asan fuzz release bench package package-check reproducible \
	distcheck icons orca gnome startup clean

all: build

# The default build runs the format check and requires every test's tools.
deps:
	scripts/install-deps test presets desktops

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

# A bounded libFuzzer run (60 s) of what an assistive technology asks of the edit fields.
fuzz: deps
	scripts/install-deps sanitizers
	cmake --preset fuzz
	cmake --build --preset fuzz
	ctest --preset fuzz

# The release build, with the benchmarks.
release: deps
	scripts/install-deps bench
	cmake --preset release
	cmake --build --preset release

bench: release
	build/release/eval/odds_bench
	QT_QPA_PLATFORM=offscreen build/release/bench/fields_bench

# The .deb, built by dpkg-buildpackage from the source package of the last commit, in build/package.
package: deps
	scripts/install-deps package
	scripts/source-package build/package
	cd build/package/quorvel-*/ && DEB_BUILD_OPTIONS=nocheck dpkg-buildpackage -b -us -uc \
		-Pnocheck >../build.log 2>&1 || { tail -n 40 ../build.log; false; }

# lintian, blhc and hardening-check on that package, then autopkgtest installs it on this machine
# and tests the installed program.
package-check: package
	scripts/install-deps chroot
	scripts/check-package

# The package built twice by reprotest, varying what a build must not depend on but the user
# (which needs an account made for it); diffoscope's report in build/reprotest where they differ.
reproducible: deps
	scripts/install-deps package reproducible
	scripts/source-package build/reprotest-source
	rm -rf build/reprotest
	reprotest --verbosity=1 --min-cpus=$$(nproc) --store-dir=build/reprotest --vary=-user_group \
		-c 'DEB_BUILD_OPTIONS=nocheck dpkg-buildpackage -b -us -uc -Pnocheck' \
		build/reprotest-source/quorvel-*/ '../*.deb' -- null

# The source package of the last commit built by sbuild and checked by lintian, piuparts and
# autopkgtest, on this machine's release or SUITE, and its architecture or ARCH (e.g. i386);
# CHECKS picks some of "nocheck check piuparts autopkgtest".
distcheck:
	scripts/install-deps package chroot
	scripts/distcheck "$(SUITE)" "$(ARCH)" "$(CHECKS)"

# The icon's PNGs, made again from its text source after an edit.
icons: build
	cmake --build --preset default --target iconpng
	for size in 32 48 64 128 256; do \
		build/default/tools/iconpng assets/quorvel.xpm assets/icons/quorvel-$$size.png $$size; \
	done

# What the Orca screen reader says, step by step, while the window is used from the keyboard; and
# where the window lands under GNOME's window manager, mutter, start after start (the placement
# test, which CTest runs under KDE's). With SUITE=trixie (or forky, sid, bookworm), on that
# Debian release, in a chroot of it.
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
	xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" dbus-run-session -- \
		/usr/bin/python3 tests/e2e/test_window.py build/default/app/quorvel \
		build/default/assets/example.quorvel.Quorvel.desktop mutter
endif

# Start-up cost and click-to-answer time against a bare Qt window (not a test: it reports), on
# the system's fonts and on a desktop's many: Noto for most scripts, its CJK faces, FreeFont and
# the Chrome OS faces, fetched into the build tree and unpacked there, not installed.
fonts := build/release/bench/desktop-fonts
DESKTOP_FONTS := fonts-noto-core fonts-noto-ui-core fonts-noto-cjk fonts-noto-extra \
	fonts-freefont-ttf fonts-croscore
startup: release $(fonts)/fonts.conf
	FONTCONFIG_FILE=$(abspath $(fonts))/fonts.conf fc-cache
	xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" dbus-run-session -- \
		/usr/bin/python3 bench/startup.py build/release/app/quorvel \
		build/release/bench/startup_yardstick $(fonts)/fonts.conf

$(fonts)/fonts.conf: bench/desktop-fonts.conf
	mkdir -p $(fonts) && cd $(fonts) && { apt-get download $(DESKTOP_FONTS) || \
		{ apt-get update && apt-get download $(DESKTOP_FONTS); }; } # a fresh machine has no lists
	for deb in $(fonts)/*.deb; do dpkg-deb -x $$deb $(fonts)/root; done
	sed 's|@FOLDER@|$(abspath $(fonts))|' $< >$@

clean:
	rm -rf build
