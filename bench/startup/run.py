#!/usr/bin/env python3
"""Start-up benchmark: time from exec to the main window being shown and first drawn, and resident memory once it
is, for spindeck against a minimal Qt Widgets program that shows one window with a label, in one run on one
Xvfb display. Prints a table (or, with --json, the medians as JSON for bench/run); the goal is a ratio of at most
1.5."""

import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1]))
from xvfb import options, program_on_disc, start_display  # noqa: E402

RUNS = int(os.environ.get("SPINDECK_BENCH_RUNS", "15"))


def resident_kib(pid):
    for line in Path(f"/proc/{pid}/status").read_text().splitlines():
        if line.startswith("VmRSS:"):
            return int(line.split()[1])
    return 0


def measure(command, env, cwd):
    """Milliseconds from exec to shown and to first drawn, and KiB resident once drawn."""
    started = time.monotonic_ns()
    process = subprocess.Popen(command, env=env, cwd=cwd, stderr=subprocess.PIPE, text=True)
    moments = {}
    for line in process.stderr:
        if line.startswith("spindeck-timing "):
            _, moment, stamp = line.split()
            moments[moment] = (int(stamp) - started) / 1e6
            if moment == "painted":
                break
    time.sleep(0.2)  # let the first frame settle before reading memory
    memory = resident_kib(process.pid)
    process.kill()
    process.wait()
    if set(moments) != {"shown", "painted"}:
        raise SystemExit(f"{command[0]} did not report its window")
    return moments["shown"], moments["painted"], memory


def print_json(results):
    figures = {}
    for name, label in (("spindeck", "spindeck"), ("minimal Qt window", "minimal window")):
        samples = results[name]
        figures[f"{label} drawn"] = {"value": statistics.median(s[1] for s in samples) / 1000, "unit": "s"}
        figures[f"{label} memory"] = {"value": statistics.median(s[2] for s in samples) / 1024, "unit": "MiB"}
    print(json.dumps(figures))


def print_table(results):
    print(f"start-up from exec, median of {RUNS} runs")
    print(f"{'program':<20}{'shown ms':>10}{'drawn ms':>10}{'RSS MiB':>10}")
    medians = {}
    for name, samples in results.items():
        shown = statistics.median(sample[0] for sample in samples)
        drawn = statistics.median(sample[1] for sample in samples)
        memory = statistics.median(sample[2] for sample in samples) / 1024
        medians[name] = (shown, drawn)
        print(f"{name:<20}{shown:>10.1f}{drawn:>10.1f}{memory:>10.1f}")
    ours, reference = medians["spindeck"], medians["minimal Qt window"]
    # On screen means drawn: a shown window has no pixels until its first paint.
    print(f"ratio first drawn {ours[1] / reference[1]:.2f} (goal at most 1.5), shown {ours[0] / reference[0]:.2f}")


def main():
    arguments = options("start-up time and memory against a minimal Qt window")
    bin_dir = arguments.bin.resolve()
    server, display = start_display()
    scratch = Path(tempfile.mkdtemp(prefix="spindeck-bench-"))
    try:
        program_dir = program_on_disc(scratch, bin_dir)
        default_ini = subprocess.run([str(bin_dir / "spindeck-ini"), "default"], capture_output=True, check=True).stdout
        (program_dir / "QRV.INI").write_bytes(default_ini)
        env = dict(os.environ, DISPLAY=display, XDG_CONFIG_HOME=str(scratch / "config"), XDG_RUNTIME_DIR=str(scratch),
                   SPINDECK_TIMING="1")
        env.pop("QT_QPA_PLATFORM", None)
        results = {"spindeck": [], "minimal Qt window": []}
        for _ in range(RUNS):  # alternate, so both meet the same machine state
            results["spindeck"].append(measure([str(program_dir / "spindeck")], env, program_dir))
            results["minimal Qt window"].append(measure([str(bin_dir / "minimal_window")], env, scratch))
        (print_json if arguments.json else print_table)(results)
    finally:
        server.terminate()
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main()
