"""Starting and leaving Spindeck as a person does."""

import subprocess
import unittest

from harness import BIN, MAIN_TITLE, SpindeckTestCase


class StartupTest(SpindeckTestCase):
    def test_first_start_writes_the_default_file_and_alt_x_ends(self):
        process = self.start()
        main = self.wait_for_window(MAIN_TITLE)
        self.assertEqual(self.visible_windows(process), [main], "the splash is gone")
        default = subprocess.run([str(BIN / "spindeck-ini"), "default"], capture_output=True, check=True).stdout
        self.assertEqual((self.machine.program_dir / "QRV.INI").read_bytes(), default)
        self.press(main, "alt+x")
        self.assertEqual(self.wait_for_exit(process), 0)

    def test_second_start_applies_the_configuration(self):
        first = self.start()
        self.press(self.wait_for_window(MAIN_TITLE), "alt+x")
        self.wait_for_exit(first)
        ini = self.machine.program_dir / "QRV.INI"
        ini.write_bytes(ini.read_bytes().replace(b"tBackColor=;", b"tBackColor=12;", 1)
                        .replace(b"tCaption=;", b"tCaption=Demo Disc;", 1))
        # The disc's root describes itself; the start shows it.
        (self.machine.d / "FILE_ID.DIZ").write_bytes(
            b"\xc9" + b"\xcd" * 26 + b"\xbb\r\n"
            b"\xba  Spindeck demo disc \x01    \xba\r\n"
            b"\xba  \xdb\xdb\xb2\xb2\xb1\xb1\xb0\xb0 four programs  \xba\r\n"
            b"\xc8" + b"\xcd" * 26 + b"\xbc\r\n\x1a")
        (self.machine.d / "QRV.TXT").write_bytes(
            b"Pick a directory on the left to read about it.\r\n[INSTALL Disc Tools]\r\nMD <PATH>\r\n")

        second = self.start()
        main = self.wait_for_window(MAIN_TITLE)
        # The title label's middle, 1800 + 5655 / 2 twips across and 120 + 615 / 2 down, below the menu bar.
        self.assertEqual(self.pixel(main, 160, 45), (255, 0, 0), "Light Red title background")
        self.screenshot("main-window", main)
        self.press(main, "alt+x")
        self.assertEqual(self.wait_for_exit(second), 0)

    def test_closing_the_main_window_ends_the_program(self):
        process = self.start()
        main = self.wait_for_window(MAIN_TITLE)
        self.assertEqual(self.close_window(main, process), 0)


if __name__ == "__main__":
    unittest.main()
