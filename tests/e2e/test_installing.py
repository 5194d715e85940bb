"""Installing as a person does: Install Now runs the install section in the console window, the
install query follows; the console takes keys for PAUSE and stays open when a command failed."""

import time
import unittest

from harness import INSTALL_NOW, INSTALL_TITLE, MAIN_TITLE, SpindeckTestCase

CONSOLE_TITLE = "Spindeck - C:\\\\QRV.BAT"  # a pattern: the backslash escaped
QUERY_TITLE = "Install Query\\.\\.\\."


class InstallingTest(SpindeckTestCase):
    def open_install_window(self, process):
        main = self.wait_for_window(MAIN_TITLE)
        self.press(main, "alt+i")
        return main, self.wait_for_window(INSTALL_TITLE)

    def make_target(self, install, name):
        """Creates C:\\<name> with the folder entry; it becomes the install path."""
        self.create_folder(install, name, self.machine.c / name)

    def test_the_demo_game_installs_from_its_zip(self):
        self.machine.add_drive("E", "removable")
        self.machine.add_drive("F")
        self.machine.use_demo_disc()
        process = self.start()
        main = self.wait_for_window(MAIN_TITLE)
        # D:\GAMES\STARFALL: its QRV.TXT unpacks STARFALL.ZIP into <TEMP>, copies it to <PATH>, and
        # removes <TEMP>.
        self.press(main, "ctrl+d")
        self.press(main, "Down", "Down", "Down", "Down", "Return", "Down")
        self.press(main, "alt+i")
        install = self.wait_for_window(INSTALL_TITLE)
        self.make_target(install, "STARFALL")
        self.click(install, *INSTALL_NOW)

        # Every command succeeds, so the console closes by itself and the query follows.
        query = self.wait_for_window(QUERY_TITLE, timeout=60)
        self.assertEqual(self.xdotool("search", "--onlyvisible", "--name", f"^{CONSOLE_TITLE}$", check=False), [])
        target = self.machine.c / "STARFALL"
        self.assertTrue((target / "STARFALL.BAT").is_file())
        self.assertTrue((target / "LEVELS" / "LEVEL01.MAP").is_file())
        self.assertFalse((self.machine.c / "STARFALL.QRV").exists(), "the scratch directory is gone")
        self.press(query, "alt+y")
        self.wait_until(lambda: self.visible_windows(process) == [main], "Yes did not return to the main window")
        self.assertFalse((self.machine.c / "QRV.BAT").exists(), "the batch file is deleted after Yes")
        process.kill()

    def test_the_console_waits_for_a_key_and_stays_open_on_failure(self):
        (self.machine.d / "QRV.TXT").write_bytes(
            b"Two steps\r\n[INSTALL Steps]\r\nECHO first\r\nPAUSE\r\nMD <PATH>\\DONE\r\n"
            b"COPY NOSUCH.FIL <PATH>\r\n")
        process = self.start()
        main, install = self.open_install_window(process)
        self.make_target(install, "STEPS")
        self.click(install, *INSTALL_NOW)

        console = self.wait_for_window(CONSOLE_TITLE)
        done = self.machine.c / "STEPS" / "DONE"
        time.sleep(1.0)  # time enough for ECHO and PAUSE; the folder after them must not appear
        self.assertFalse(done.exists(), "PAUSE holds the script")
        self.press(console, "space")
        self.wait_until(done.is_dir, "the key did not reach PAUSE")

        # COPY fails: the console stays open until the user closes it; then the query comes.
        time.sleep(1.0)  # the run has ended by now
        self.assertEqual(self.xdotool("search", "--onlyvisible", "--name", f"^{CONSOLE_TITLE}$"), [console])
        self.screenshot("console-failure", console)
        self.press(console, "Return")
        query = self.wait_for_window(QUERY_TITLE)
        self.press(query, "alt+n")  # No: the batch editor opens on the kept batch file
        self.wait_for_window("Installation HELP!")
        self.assertTrue((self.machine.c / "QRV.BAT").is_file())
        process.kill()


if __name__ == "__main__":
    unittest.main()
