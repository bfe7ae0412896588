# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# What an install lays down, and whether its pieces name each other as a desktop needs: stages
# `cmake --install` of a build under /usr, has AppStream's compose make a software-centre catalog
# of it (which finds the icon and the desktop entry the AppStream data names), and checks what
# neither compose nor lintian, which checks the package's commands, icons and manual page, does:
# the program, icon and licence the AppStream data names against the desktop entry's and the
# project's, and the documents left to a distribution.
#
# Usage: check_install.py BUILD_DIR SCRATCH_DIR APP_ID

import os
import re
import shutil
import subprocess
import sys

if not os.access("/usr/libexec/appstreamcli-compose", os.X_OK):  # appstreamcli compose
    print("skipped: appstreamcli compose (appstream-compose) not installed")
    sys.exit(77)  # what CTest counts as skipped, or, in a strict run, as failed
build, scratch, app_id = sys.argv[1:4]
shutil.rmtree(scratch, ignore_errors=True)
stage, share = scratch + "/stage", scratch + "/stage/usr/share/"
subprocess.run(["cmake", "--install", build, "--prefix", "/usr"], check=True,
               env=dict(os.environ, DESTDIR=stage), stdout=subprocess.DEVNULL)
# Errors and warnings alike: a launchable that names no installed entry is only a warning.
report = subprocess.run(["appstreamcli", "compose", "--no-net", "--no-color", "--print-report=full",
                         "--prefix=/usr", "--origin=quorvel", f"--result-root={scratch}/catalog",
                         stage], capture_output=True, text=True).stdout
assert not re.search(r"^\s*[WE]: ", report, re.M), report

entry = open(f"{share}applications/{app_id}.desktop").read()
metainfo = open(f"{share}metainfo/{app_id}.metainfo.xml").read()
binary, icon = (re.search(f"^{key}=(\\S+)", entry, re.M)[1] for key in ("Exec", "Icon"))
assert all(f in metainfo for f in (f"<binary>{binary}<", f">{icon}</icon>", ">GPL-3.0-or-later<"))
# Debian's own documents go only into our .deb.
assert not os.path.exists(share + "doc/quorvel")
