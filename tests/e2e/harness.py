"""End-to-end harness: the real spindeck binary on a real X server (Xvfb), driven with xdotool as a
person would drive it, on a drive map of temporary directories.

Each test gets a fresh Xvfb display, a program directory holding a copy of the binary, and a
drives.conf that maps C: and D: to temporary directories. Sound goes nowhere (SDL's dummy driver)
unless a test asks for it to be recorded in a file. Screenshots of failed tests are kept in the
directory named by SPINDECK_E2E_ARTIFACTS (default: build/e2e-artifacts).
"""

import os
import shutil
import subprocess
import tempfile
import time
import unittest
from pathlib import Path

from Xlib import X, display as xdisplay, protocol

BIN = Path(os.environ.get("SPINDECK_BIN", Path(__file__).resolve().parents[2] / "build" / "bin"))
ARTIFACTS = Path(os.environ.get("SPINDECK_E2E_ARTIFACTS", Path(__file__).resolve().parents[2] / "build" / "e2e-artifacts"))

MAIN_TITLE = "Spindeck  v1.0"
INSTALL_TITLE = "Spindeck Installer  v1.0"
DEMO_DISC = BIN.parent / "demo" / "disc"


def centre(left, top, width, height):
    """The middle of a control placed at twips (15 to a pixel) in the install window."""
    return (left + width // 2) // 15, (top + height // 2) // 15


FOLDER_ENTRY = centre(3000 + 135, 1200 + 240, 3135, 285)
CREATE_FOLDER = centre(6480, 1440, 1215, 375)
CANCEL_INSTALL = centre(5880, 3480, 1215, 375)
INSTALL_NOW = centre(3840, 3480, 1215, 375)


class Display:
    """An Xvfb server of its own, on the first free display number."""

    def __init__(self):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-noreset", "-nolisten", "tcp"],
            pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as announced:
            self.name = ":" + announced.readline().strip()

    def close(self):
        self.process.terminate()
        self.process.wait(timeout=10)


class Machine:
    """Drives C: and D:, a program directory on D:, and the environment spindeck runs in."""

    def __init__(self, root: Path, display: Display, disc_kind="fixed"):
        self.root = root
        self.c = root / "c"
        self.d = root / "d"
        self.program_dir = self.d / "SPINDECK"
        self.config_home = root / "config"
        for folder in (self.c, self.program_dir, self.config_home / "spindeck"):
            folder.mkdir(parents=True, exist_ok=True)
        (self.config_home / "spindeck" / "drives.conf").write_text(
            f"[C]\npath={self.c}\nkind=fixed\n[D]\npath={self.d}\nkind={disc_kind}\nlabel=DISC\n")
        self.install_program()
        self.env = dict(os.environ, DISPLAY=display.name, XDG_CONFIG_HOME=str(self.config_home),
                        XDG_RUNTIME_DIR=str(root), SDL_AUDIODRIVER="dummy", LC_ALL="C.UTF-8")
        self.env.pop("QT_QPA_PLATFORM", None)

    def install_program(self):
        """The program and its command interpreter, side by side as the build leaves them."""
        for name in ("spindeck", "spindeck-cmd"):
            shutil.copy2(BIN / name, self.program_dir / name)

    def add_drive(self, letter, kind="fixed"):
        """One more drive on a temporary directory of its own."""
        root = self.root / letter.lower()
        root.mkdir(exist_ok=True)
        with open(self.config_home / "spindeck" / "drives.conf", "a") as conf:
            conf.write(f"[{letter}]\npath={root}\nkind={kind}\n")
        return root

    def use_demo_disc(self):
        """Puts the demo disc (as the build assembles it) on D:, its program directory included."""
        shutil.copytree(DEMO_DISC, self.d, dirs_exist_ok=True)
        self.install_program()

    def configure(self, **values):
        """Writes QRV.INI beside the program: the default file with the given keys set."""
        ini = subprocess.run([str(BIN / "spindeck-ini"), "default"], capture_output=True, check=True).stdout
        for key, value in values.items():
            line = f"\r\n{key}=;".encode()
            assert line in ini, f"{key} has no empty setting line in the default file"
            ini = ini.replace(line, f"\r\n{key}={value};".encode(), 1)
        (self.program_dir / "QRV.INI").write_bytes(ini)

    def make_media(self, *args):
        """Runs spindeck-mkmedia with `args`, file names taken as beside the program."""
        subprocess.run([str(BIN / "spindeck-mkmedia"), *args], cwd=self.program_dir, check=True, capture_output=True)

    def start(self, audio_file=None, **extra_env):
        """Starts spindeck; with `audio_file`, what it plays is written there as SDL's disk driver
        writes it: signed 16-bit stereo frames at 44.1 kHz, in real time."""
        env = dict(self.env, **extra_env)
        if audio_file is not None:
            env.update(SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE=str(audio_file))
        return subprocess.Popen([str(self.program_dir / "spindeck")], cwd=self.c, env=env,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE)


class SpindeckTestCase(unittest.TestCase):
    """Gives each test a display and a machine, and keeps a screenshot when the test fails."""

    def setUp(self):
        self.display = Display()
        self.addCleanup(self.display.close)
        self.scratch = Path(tempfile.mkdtemp(prefix="spindeck-e2e-"))
        self.addCleanup(shutil.rmtree, self.scratch, True)
        self.machine = Machine(self.scratch, self.display)
        self.processes = []
        self.addCleanup(self._stop_processes)

    def _stop_processes(self):
        if any(error for error in self._failures()):
            self.screenshot(self.id().split(".")[-1])
        for process in self.processes:
            if process.poll() is None:
                process.kill()
                process.wait(timeout=10)
            for pipe in (process.stdout, process.stderr):
                if pipe is not None:
                    pipe.close()

    def _failures(self):
        result = getattr(self._outcome, "result", None)
        if result is None:
            return []
        return [error for test, error in result.errors + result.failures if test is self]

    def start(self, audio_file=None, **extra_env):
        process = self.machine.start(audio_file, **extra_env)
        self.processes.append(process)
        return process

    def xdotool(self, *args, check=True):
        completed = subprocess.run(["xdotool", *args], env=self.machine.env, capture_output=True, text=True,
                                   timeout=30)
        if check and completed.returncode != 0:
            self.fail(f"xdotool {' '.join(args)} failed: {completed.stderr.strip()}")
        return completed.stdout.split()

    def wait_for_window(self, name, timeout=20):
        """The id of the visible window whose title is exactly `name`."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            found = self.xdotool("search", "--onlyvisible", "--name", f"^{name}$", check=False)
            if found:
                return found[0]
            time.sleep(0.1)
        self.fail(f"no window named {name!r} within {timeout} s")

    def visible_windows(self, process):
        return self.xdotool("search", "--onlyvisible", "--pid", str(process.pid), check=False)

    def press(self, window, *keys):
        self.xdotool("windowfocus", "--sync", window)
        self.xdotool("key", "--clearmodifiers", *keys)

    def click(self, window, x, y):
        """A left click at (x, y) of the window's client area."""
        self.xdotool("mousemove", "--window", window, str(x), str(y))
        self.xdotool("click", "1")

    def type_text(self, window, text):
        self.xdotool("windowfocus", "--sync", window)
        self.xdotool("type", "--delay", "20", text)

    def create_folder(self, install, path, host_folder):
        """Types `path` into the install window's folder entry and presses Create Folder; waits until
        `host_folder` exists."""
        self.click(install, *FOLDER_ENTRY)
        self.type_text(install, path)
        self.click(install, *CREATE_FOLDER)
        self.wait_until(host_folder.is_dir, f"{path} was not made")

    def wait_until(self, condition, message, timeout=10):
        deadline = time.monotonic() + timeout
        while not condition():
            if time.monotonic() > deadline:
                self.fail(message)
            time.sleep(0.1)

    def close_window(self, window, process):
        """What a window manager does for the close box: asks the window to close itself. Under Xvfb
        without a window manager the first request is now and then not delivered to the program, so
        it is asked again, as a person clicks the close box again, until the process ends (on a busy
        machine that can take several tries)."""
        for _ in range(10):
            self._send_delete_window(window)
            try:
                return process.wait(timeout=3)
            except subprocess.TimeoutExpired:
                continue
        return None

    def _send_delete_window(self, window):
        connection = xdisplay.Display(self.display.name)
        try:
            target = connection.create_resource_object("window", int(window))
            protocols = connection.intern_atom("WM_PROTOCOLS")
            delete = connection.intern_atom("WM_DELETE_WINDOW")
            message = protocol.event.ClientMessage(window=target, client_type=protocols,
                                                   data=(32, [delete, X.CurrentTime, 0, 0, 0]))
            target.send_event(message, event_mask=X.NoEventMask)
            connection.flush()
        finally:
            connection.close()

    def wait_for_exit(self, process, timeout=20):
        try:
            return process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.fail(f"spindeck still runs after {timeout} s")

    def screenshot(self, name, window="root"):
        ARTIFACTS.mkdir(parents=True, exist_ok=True)
        path = ARTIFACTS / f"{name}.png"
        subprocess.run(["import", "-window", window, str(path)], env=self.machine.env, capture_output=True,
                       timeout=30)
        return path

    def pixel(self, window, x, y):
        """The colour (r, g, b) at (x, y) of a window, read from a screenshot."""
        shot = self.scratch / "pixel.png"
        subprocess.run(["import", "-window", window, str(shot)], env=self.machine.env, check=True, timeout=30)
        text = subprocess.run(["convert", str(shot), "-crop", f"1x1+{x}+{y}", "-depth", "8", "txt:-"],
                              capture_output=True, text=True, check=True, timeout=30).stdout
        # "0,0: (255,0,0)  #FF0000  red"
        values = text.splitlines()[-1].split("(")[1].split(")")[0].split(",")
        return tuple(int(float(v)) for v in values[:3])
