"""What the window benchmarks share: the X server they run on (Xvfb on the first free display number), the copy of
spindeck on a disc, and their command line."""

import argparse
import os
import shutil
import subprocess
from pathlib import Path


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


def options(description):
    """The command line of a window benchmark: the folder of the executables, and --json for bench/run."""
    parser = argparse.ArgumentParser(description=description)
    parser.add_argument("bin", nargs="?", type=Path, default=Path(__file__).resolve().parents[1] / "build" / "bin",
                        help="the folder of the executables (build/bin)")
    parser.add_argument("--json", action="store_true", help="print the medians as JSON")
    return parser.parse_args()
