"""The Debian package as a user gets it: built with CPack from the build folder, its file list and
control fields read with dpkg-deb, its menu entry checked with desktop-file-validate, then unpacked
into a throw-away root and started from there until the main window is drawn."""

import os
import shutil
import subprocess
import tempfile
import time
import unittest
from pathlib import Path

BUILD = Path(os.environ["SPINDECK_BUILD"])
CPACK = os.environ["SPINDECK_CPACK"]
WITH_INTERPRETER = os.environ.get("SPINDECK_WITH_CMD") == "1"
ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)


def expected_files():
    programs = ["spindeck", "spindeck-ini"] + (["spindeck-cmd"] if WITH_INTERPRETER else [])
    return ({f"./usr/bin/{name}" for name in programs} | {"./usr/share/applications/spindeck.desktop"}
            | {f"./usr/share/icons/hicolor/{size}x{size}/apps/spindeck.png" for size in ICON_SIZES})


class PackageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = Path(tempfile.mkdtemp(prefix="spindeck-package-"))
        subprocess.run([CPACK, "-G", "DEB", "--config", str(BUILD / "CPackConfig.cmake"), "-B",
                        str(cls.scratch / "out")], check=True, capture_output=True, cwd=BUILD)
        debs = list((cls.scratch / "out").glob("spindeck_*.deb"))
        assert len(debs) == 1, debs
        cls.deb = debs[0]

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.scratch, ignore_errors=True)

    def field(self, name):
        return subprocess.run(["dpkg-deb", "--field", str(self.deb), name], check=True, capture_output=True,
                              text=True).stdout.strip()

    def test_holds_the_programs_the_menu_entry_and_the_icons_and_nothing_else(self):
        listing = subprocess.run(["dpkg-deb", "--contents", str(self.deb)], check=True, capture_output=True,
                                 text=True).stdout.splitlines()
        files = {line.split()[5] for line in listing if not line.startswith("d")}
        self.assertEqual(files, expected_files())
        modes = {line.split()[5]: line.split()[0] for line in listing}
        for program in (name for name in files if name.startswith("./usr/bin/")):
            self.assertEqual(modes[program], "-rwxr-xr-x", program)

    def test_control_fields_name_the_libraries_and_the_maintainer(self):
        depends = self.field("Depends")
        libraries = ["libqt6widgets6", "libqt6gui6", "libqt6core6", "libsdl2-mixer-2.0-0"]
        for library in libraries + (["libarchive13"] if WITH_INTERPRETER else []):
            self.assertIn(library, depends)
        self.assertEqual(self.field("Package"), "spindeck")
        self.assertEqual(self.field("Section"), "utils")
        self.assertRegex(self.field("Maintainer"), r"^[^<>]+ <[^@<>\s]+@[^@<>\s]+>$")
        self.assertIn("front-end for a disc of programs", self.field("Description"))

    def test_menu_entry_is_valid_and_starts_spindeck_with_its_icon(self):
        validator = shutil.which("desktop-file-validate")
        if validator is None:
            self.skipTest("desktop-file-validate is not installed (package desktop-file-utils)")
        root = self.unpacked()
        entry = root / "usr/share/applications/spindeck.desktop"
        checked = subprocess.run([validator, str(entry)], capture_output=True, text=True)
        self.assertEqual((checked.returncode, checked.stdout + checked.stderr), (0, ""))
        lines = entry.read_text().splitlines()
        self.assertIn("Exec=spindeck", lines)
        self.assertIn("Icon=spindeck", lines)

    def test_installed_programs_run_from_the_unpacked_root(self):
        root = self.unpacked()
        home = self.scratch / "home"
        home.mkdir(exist_ok=True)
        env = dict(os.environ, PATH=f"{root / 'usr/bin'}:{os.environ['PATH']}", HOME=str(home),
                   XDG_CONFIG_HOME=str(home / ".config"), XDG_RUNTIME_DIR=str(self.scratch),
                   QT_QPA_PLATFORM="offscreen", SDL_AUDIODRIVER="dummy", SPINDECK_TIMING="1")
        ini = subprocess.run(["spindeck-ini", "default"], env=env, capture_output=True, check=True).stdout
        self.assertIn(b"mMIDI=", ini)
        if WITH_INTERPRETER:
            echoed = subprocess.run(["spindeck-cmd", "/C", "ECHO installed"], env=env, capture_output=True,
                                    text=True, cwd=home)
            self.assertEqual((echoed.returncode, echoed.stdout.strip()), (0, "installed"))
        self.assertIn("spindeck-timing painted", self.start_until_drawn(env, home))
        # Its program directory is where it lies: a first start writes the default QRV.INI there.
        self.assertEqual((root / "usr/bin/QRV.INI").read_bytes(), ini)

    def start_until_drawn(self, env, cwd):
        """What spindeck wrote to stderr until its main window was first drawn (or it gave up)."""
        log = self.scratch / "spindeck-stderr.txt"
        with log.open("w") as errors:
            process = subprocess.Popen(["spindeck"], env=env, cwd=cwd, stdout=subprocess.DEVNULL, stderr=errors)
        try:
            deadline = time.monotonic() + 30
            while "spindeck-timing painted" not in log.read_text() and process.poll() is None:
                if time.monotonic() > deadline:
                    break
                time.sleep(0.05)
            return log.read_text()
        finally:
            process.kill()
            process.wait()

    def unpacked(self):
        root = self.scratch / "root"
        if not root.exists():
            subprocess.run(["dpkg-deb", "-x", str(self.deb), str(root)], check=True)
        return root


if __name__ == "__main__":
    unittest.main()
