#!/usr/bin/env python3
"""Idle benchmark: the processor time spindeck takes while it waits for the user, over a stretch of
idle seconds on an Xvfb display, once with the music off (QRV.INI names a music file that is not
there) and once with the demo piece playing. Sound goes to SDL's dummy driver, which plays in real
time without a device, so the mixer and the synthesiser do their real work. Reads utime + stime of
/proc/PID/stat (every thread of the process) before and after the stretch and prints a table (or, with
--json, the medians as JSON for bench/run); the goal is under 1 % with the music off."""

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

RUNS = int(os.environ.get("SPINDECK_BENCH_RUNS", "3"))
IDLE_SECONDS = float(os.environ.get("SPINDECK_BENCH_IDLE_SECONDS", "10"))
SETTLE_SECONDS = 2.0  # after the first paint: the start cue and the first layout are over
GOAL_PERCENT = 1.0
TICKS_PER_SECOND = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    """User plus system time of the whole process so far."""
    text = Path(f"/proc/{pid}/stat").read_text()
    fields = text[text.rindex(")") + 2:].split()  # the name in parentheses may hold spaces
    return (int(fields[11]) + int(fields[12])) / TICKS_PER_SECOND  # fields 14 and 15 of the line


def write_ini(bin_dir, program_dir, music):
    ini = subprocess.run([str(bin_dir / "spindeck-ini"), "default"], capture_output=True, check=True).stdout
    ini = ini.replace(b"\r\nmMIDI=;", f"\r\nmMIDI={music};".encode(), 1)
    (program_dir / "QRV.INI").write_bytes(ini)


def measure(program_dir, env, log):
    """Percent of one processor used over the idle stretch."""
    with log.open("w") as errors:
        process = subprocess.Popen([str(program_dir / "spindeck")], cwd=program_dir, env=env,
                                   stdout=subprocess.DEVNULL, stderr=errors)
    try:
        deadline = time.monotonic() + 30
        while "spindeck-timing painted" not in log.read_text():
            if process.poll() is not None or time.monotonic() > deadline:
                raise SystemExit(f"spindeck did not show its window:\n{log.read_text()}")
            time.sleep(0.05)
        time.sleep(SETTLE_SECONDS)
        before, started = cpu_seconds(process.pid), time.monotonic()
        time.sleep(IDLE_SECONDS)
        used, elapsed = cpu_seconds(process.pid) - before, time.monotonic() - started
        return 100.0 * used / elapsed
    finally:
        process.kill()
        process.wait()


def print_table(results):
    print(f"processor use over {IDLE_SECONDS:g} idle seconds, median of {RUNS} runs (percent of one core)")
    print(f"{'case':<12}{'median %':>10}{'min %':>8}{'max %':>8}")
    for name, samples in results.items():
        print(f"{name:<12}{statistics.median(samples):>10.2f}{min(samples):>8.2f}{max(samples):>8.2f}")
    off = statistics.median(results["music off"])
    print(f"music off {off:.2f} % (goal under {GOAL_PERCENT:g} %): {'met' if off < GOAL_PERCENT else 'MISSED'}")


def main():
    arguments = options("processor use while idle, music off and on")
    bin_dir = arguments.bin.resolve()
    server, display = start_display()
    scratch = Path(tempfile.mkdtemp(prefix="spindeck-bench-"))
    try:
        program_dir = program_on_disc(scratch, bin_dir)
        subprocess.run([str(bin_dir / "spindeck-mkmedia"), "midi", str(program_dir / "MUSIC.MID")], check=True)
        env = dict(os.environ, DISPLAY=display, XDG_CONFIG_HOME=str(scratch / "config"),
                   XDG_RUNTIME_DIR=str(scratch), SDL_AUDIODRIVER="dummy", SPINDECK_TIMING="1")
        env.pop("QT_QPA_PLATFORM", None)
        cases = {"music off": "NOMUSIC.MID", "music on": "MUSIC.MID"}
        results = {name: [] for name in cases}
        for _ in range(RUNS):  # alternate, so both meet the same machine state
            for name, music in cases.items():
                write_ini(bin_dir, program_dir, music)
                results[name].append(measure(program_dir, env, scratch / "stderr.txt"))
        if arguments.json:
            print(json.dumps({name: {"value": statistics.median(samples), "unit": "%"}
                              for name, samples in results.items()}))
        else:
            print_table(results)
    finally:
        server.terminate()
        server.wait()
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main()
