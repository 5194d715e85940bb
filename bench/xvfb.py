"""The X server the window benchmarks run on: Xvfb on the first free display number."""

import os
import subprocess


def start_display():
    """The Xvfb process and its display name (":N")."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-noreset",
                               "-nolisten", "tcp"], pass_fds=[write_end], stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as announced:
        return server, ":" + announced.readline().strip()
