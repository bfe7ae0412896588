# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Quorvel developers
"""Starts an installed Quorvel on a private X server and waits for its window to appear.

Usage: check_installed.py [PROGRAM]   (default /usr/bin/quorvel)
"""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from xsession import XSession, close_window, find_window  # noqa: E402


def main():
    program = sys.argv[1] if len(sys.argv) > 1 else "/usr/bin/quorvel"
    with XSession(accessibility=False) as session:
        process = session.launch([program])
        xid = find_window(session.env, process.pid, "Quorvel v0.9")
        print(f"{program}: window 0x{xid:x} 'Quorvel v0.9' is on the screen")
        close_window(session.display, xid)
        status = process.wait(timeout=20)
        print(f"{program}: closed, exit status {status}")
        return status


if __name__ == "__main__":
    sys.exit(main())
