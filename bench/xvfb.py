"""The X server the window benchmarks run on: Xvfb on the first free display number."""

import os
import shutil
import subprocess


def start_display():
    """The Xvfb process and its display name (":N")."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-noreset",
                               "-nolisten", "tcp"], pass_fds=[write_end], stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as announced:
        return server, ":" + announced.readline().strip()


def program_on_disc(scratch, bin_dir):
    """A copy of spindeck in D:\\SPINDECK of a disc under `scratch`, with the drive map that says so."""
    program_dir = scratch / "disc" / "SPINDECK"
    program_dir.mkdir(parents=True)
    (scratch / "config" / "spindeck").mkdir(parents=True)
    (scratch / "config" / "spindeck" / "drives.conf").write_text(f"[D]\npath={scratch / 'disc'}\n")
    shutil.copy2(bin_dir / "spindeck", program_dir / "spindeck")
    return program_dir
