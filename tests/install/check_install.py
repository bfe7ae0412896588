# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Quorvel developers
"""What an install lays down, and whether its pieces name each other as a desktop needs.

Stages `cmake --install` of a build under /usr, checks each file where Debian looks for it, that
the desktop entry, its icon, the AppStream data and the binary agree on their names, and that
`appstreamcli compose` turns the tree into a software-centre catalog entry with its icons.

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


def main():
    build, scratch, app_id, app_name = sys.argv[1:5]
    shutil.rmtree(scratch, ignore_errors=True)
    stage, out = os.path.join(scratch, "stage"), os.path.join(scratch, "catalog")
    subprocess.run(["cmake", "--install", build, "--prefix", "/usr"], check=True,
                   env=dict(os.environ, DESTDIR=stage), stdout=subprocess.DEVNULL)
    usr = os.path.join(stage, "usr")
    failures = []

    def expect(condition, what):
        if not condition:
            failures.append(what)

    for path in ["games/quorvel", "share/man/man6/quorvel.6.gz",
                 "share/doc/quorvel/copyright", "share/doc/quorvel/changelog.gz"]:
        expect(os.path.isfile(os.path.join(usr, path)), f"not installed: {path}")

    # The desktop entry starts the installed binary, shows the installed icon and groups the
    # window, whose class is the application's name, under itself.
    entry = configparser.ConfigParser(interpolation=None)
    entry.optionxform = str
    entry.read(os.path.join(usr, "share/applications", app_id + ".desktop"))
    desktop = entry["Desktop Entry"] if entry.has_section("Desktop Entry") else {}
    binary = desktop.get("Exec", "").split(" ")[0]
    expect(binary and os.access(os.path.join(usr, "games", binary), os.X_OK),
           f"Exec={binary} is not the installed program")
    expect(desktop.get("Icon") == app_id, f"Icon={desktop.get('Icon')} is not {app_id}")
    expect(desktop.get("StartupWMClass") == app_name, "StartupWMClass is not the window's class")

    for size in (32, 48, 64, 128, 256):
        icon = os.path.join(usr, f"share/icons/hicolor/{size}x{size}/apps/{app_id}.png")
        if not os.path.isfile(icon):
            failures.append(f"no {size}x{size} icon")
            continue
        with open(icon, "rb") as png:
            header = png.read(26)
        width, height, depth, kind = struct.unpack(">IIBB", header[16:26])
        expect((width, height) == (size, size), f"the {size}x{size} icon is {width}x{height}")
        # The window's own icon keeps its 8-bit palette.
        expect(size != 32 or (depth, kind) == (8, 3), "the 32x32 icon is not paletted")

    metainfo = ET.parse(os.path.join(usr, "share/metainfo", app_id + ".metainfo.xml")).getroot()
    expect(metainfo.findtext("id") == app_id, "the AppStream id is not the application id")
    expect(metainfo.findtext("launchable") == app_id + ".desktop",
           "the AppStream launchable is not the desktop entry")
    expect(metainfo.findtext("provides/binary") == binary, "AppStream provides another binary")
    expect(metainfo.findtext("icon") == desktop.get("Icon"), "AppStream names another icon")
    expect(metainfo.findtext("project_license") == "GPL-3.0-or-later", "not GPL-3.0-or-later")

    # What a software centre reads: the composed catalog holds the component with its icons.
    subprocess.run(["appstreamcli", "compose", "--no-net", "--prefix=/usr", "--origin=quorvel",
                    "--result-root=" + out, stage], check=True, stdout=subprocess.DEVNULL)
    with gzip.open(os.path.join(out, "usr/share/swcatalog/xml/quorvel.xml.gz")) as catalog:
        components = ET.parse(catalog).getroot().findall("component")
    composed = [c for c in components if c.findtext("id") == app_id]
    expect(composed, "the composed catalog does not hold the component")
    cached = {int(i.get("width")) for c in composed for i in c.findall("icon[@type='cached']")}
    expect({64, 128} <= cached, f"the catalog's icons are {sorted(cached)}")

    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(failures)} failed" if failures else f"installed tree and catalog entry for {app_id}: ok")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
