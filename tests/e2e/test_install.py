"""The install window as a person uses it: opened from the main window, a folder made, cancelled."""

import time
import unittest

from harness import CANCEL_INSTALL, FOLDER_ENTRY, INSTALL_TITLE, MAIN_TITLE, SpindeckTestCase


class InstallWindowTest(SpindeckTestCase):
    def test_create_a_folder_then_cancel(self):
        # The directory the program starts on carries an install section, so Install is offered.
        (self.machine.d / "QRV.TXT").write_bytes(b"A tool\r\n[INSTALL Tool]\r\nMD <PATH>\r\n")
        process = self.start()
        main = self.wait_for_window(MAIN_TITLE)
        self.press(main, "alt+i")
        install = self.wait_for_window(INSTALL_TITLE)
        self.assertEqual(self.visible_windows(process), [install], "the main window gives way")

        # The install path starts at the root of the current drive, C:.
        self.create_folder(install, "GAMES", self.machine.c / "GAMES")
        # The new folder is open and highlighted, so a second name lands inside it.
        self.create_folder(install, "STARFALL", self.machine.c / "GAMES" / "STARFALL")
        self.screenshot("install-window", install)

        # "&Create Folder" and "&Cancel Install" share Alt+C: it moves the focus between them and
        # presses neither (a pressed Create Folder would make C:\GAMES\STARFALL\KEPT, a pressed
        # Cancel would close the window).
        self.click(install, *FOLDER_ENTRY)
        self.type_text(install, "KEPT")
        self.press(install, "alt+c")
        self.press(install, "alt+c")
        time.sleep(0.5)
        self.assertEqual(self.visible_windows(process), [install])
        self.assertFalse((self.machine.c / "GAMES" / "STARFALL" / "KEPT").exists())

        self.click(install, *CANCEL_INSTALL)
        self.wait_until(lambda: self.visible_windows(process) == [main], "Cancel Install did not return")
        process.kill()


if __name__ == "__main__":
    unittest.main()
