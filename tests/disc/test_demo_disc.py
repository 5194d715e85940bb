"""The demo disc's description files and install scripts, as the build put them on the disc."""

import os
import unittest
import zipfile
from pathlib import Path, PureWindowsPath

DISC = Path(os.environ.get("SPINDECK_DEMO_DISC", Path(__file__).resolve().parents[2] / "build" / "demo" / "disc"))
DESCRIPTIONS = ("FILE_ID.DIZ", "QRV.TXT")


def description_files():
    return sorted(path for path in DISC.rglob("*") if path.name in DESCRIPTIONS)


def install_lines(qrv_txt):
    """The script lines after the install header, split into words."""
    lines = qrv_txt.read_bytes().decode("cp437").split("\r\n")
    for at, line in enumerate(lines):
        if "[INSTALL " in line.upper():
            return [line.split() for line in lines[at + 1:] if line.strip()]
    return []


class DemoDiscTest(unittest.TestCase):
    def test_description_files_are_dos_text(self):
        files = description_files()
        self.assertTrue(files, f"no description files under {DISC}")
        for path in files:
            with self.subTest(str(path.relative_to(DISC))):
                data = path.read_bytes()
                self.assertTrue(data.endswith(b"\r\n"), "the last line ends too")
                self.assertEqual(data.count(b"\n"), data.count(b"\r\n"), "every line ends in CR LF")
                self.assertEqual(data.count(b"\r"), data.count(b"\r\n"), "no lone CR")
                if any(byte >= 0x80 for byte in data):
                    # Art in code page 437 is one byte a character; an editor that saved it as
                    # UTF-8 would have turned each box character into three.
                    with self.assertRaises(UnicodeDecodeError, msg="code page 437, not UTF-8"):
                        data.decode("utf-8")

    def test_install_scripts_find_what_they_unpack_and_copy(self):
        scripts = [path for path in description_files() if path.name == "QRV.TXT" and install_lines(path)]
        self.assertTrue(scripts, "some directory can be installed")
        for qrv_txt in scripts:
            here = qrv_txt.parent
            for words in install_lines(qrv_txt):
                command = words[0].upper()
                with self.subTest(f"{qrv_txt.relative_to(DISC)}: {' '.join(words)}"):
                    if command == "PKUNZIP":
                        archive = here / next(word for word in words[1:] if not word.startswith("-"))
                        with zipfile.ZipFile(archive) as opened:
                            self.assertIsNone(opened.testzip())
                            names = opened.namelist()
                        self.assertTrue(names)
                        for name in names:
                            self.assertFalse(name.startswith("/") or ".." in name.split("/"), name)
                            self.assertRegex(name, r"^[A-Z0-9_/.\-]+$", "DOS names, forward slashes")
                    elif command == "XCOPY" and not words[1].startswith("<"):
                        source = PureWindowsPath(words[1])
                        self.assertTrue((here.joinpath(*source.parent.parts)).is_dir(), source)


if __name__ == "__main__":
    unittest.main()
