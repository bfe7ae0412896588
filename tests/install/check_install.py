# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Quorvel developers
"""What an install lays down, and whether its pieces name each other as a desktop needs.

Stages `cmake --install` of a build under /usr, checks that the desktop entry, its icons, the
AppStream data and the binary agree on their names, and that `appstreamcli compose` makes of
the tree a software-centre catalog entry with icons.

Usage: check_install.py BUILD_DIR SCRATCH_DIR APP_ID APP_NAME
"""

import configparser
import gzip
import os
import shutil
import struct
import subprocess
import sys
import xml.etree.ElementTree as ET

# The catalog is made by AppStream's compose addon, a package of its own.
if not shutil.which("appstreamcli") or subprocess.run(["appstreamcli", "compose", "--help"],
                                                      capture_output=True).returncode != 0:
    print("skipped: appstreamcli compose (appstream-compose) not installed")
    sys.exit(77)  # what CTest counts as skipped, or, in a strict run, as failed

build, scratch, app_id, app_name = sys.argv[1:5]
shutil.rmtree(scratch, ignore_errors=True)
stage, share = os.path.join(scratch, "stage"), os.path.join(scratch, "stage/usr/share")
subprocess.run(["cmake", "--install", build, "--prefix", "/usr"], check=True,
               env=dict(os.environ, DESTDIR=stage), stdout=subprocess.DEVNULL)
# The manual page as every distribution takes it, to compress its own way; Debian's own documents
# go only into our .deb.
assert os.path.isfile(os.path.join(share, "man/man6/quorvel.6")) \
    and not os.path.exists(os.path.join(share, "doc/quorvel")), "manual page, no Debian documents"

entry = configparser.ConfigParser(interpolation=None)
entry.optionxform = str
entry.read(os.path.join(share, "applications", app_id + ".desktop"))
desktop = entry["Desktop Entry"]
binary = desktop["Exec"].split()[0]
assert os.access(os.path.join(stage, "usr/games", binary), os.X_OK), f"Exec={binary}: no such program"
# The window's class is the application's name: a shell groups the window under this entry.
assert (desktop["Icon"], desktop["StartupWMClass"]) == (app_id, app_name), dict(desktop)
for size in (32, 48, 64, 128, 256):
    with open(os.path.join(share, f"icons/hicolor/{size}x{size}/apps/{app_id}.png"), "rb") as png:
        width, height, depth, kind = struct.unpack(">IIBB", png.read(26)[16:])
    assert (width, height) == (size, size) and (size != 32 or (depth, kind) == (8, 3)), size

metainfo = ET.parse(os.path.join(share, "metainfo", app_id + ".metainfo.xml")).getroot()
names = [metainfo.findtext(tag) for tag in ("id", "launchable", "provides/binary", "icon")]
assert names == [app_id, app_id + ".desktop", binary, app_id], names
assert metainfo.findtext("project_license") == "GPL-3.0-or-later"

# What a software centre reads: the composed catalog holds the component with its icons.
catalog = os.path.join(scratch, "catalog")
subprocess.run(["appstreamcli", "compose", "--no-net", "--prefix=/usr", "--origin=quorvel",
                "--result-root=" + catalog, stage], check=True, stdout=subprocess.DEVNULL)
with gzip.open(os.path.join(catalog, "usr/share/swcatalog/xml/quorvel.xml.gz")) as xml:
    composed = [c for c in ET.parse(xml).getroot() if c.findtext("id") == app_id]
icons = {int(i.get("width")) for c in composed for i in c.findall("icon[@type='cached']")}
assert composed and {64, 128} <= icons, f"catalog entry {len(composed)}, icons {sorted(icons)}"
print(f"{app_id}: installed tree and catalog entry agree")
