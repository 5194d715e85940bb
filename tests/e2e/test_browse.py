"""Browsing the demo disc with the keyboard only, as a person would."""

import time
import unittest

from harness import INSTALL_TITLE, MAIN_TITLE, SpindeckTestCase
from recording import Recording

# The notes of the "both found" cue: a high blip (A5, E6), then a low fifth (A4, E5) from 0.3 s on.
# The cue for a description alone stops after the blip; the one for QRV.TXT alone never goes low.
LOW_FIFTH = 440.0
BLIP = 880.0


class BrowseTest(SpindeckTestCase):
    def test_arrows_enter_ctrl_letter_and_alt_i_on_the_demo_disc(self):
        # Drives C: to F:, so that Ctrl+D names the fourth entry of the drive list.
        self.machine.add_drive("E", "removable")
        self.machine.add_drive("F")
        self.machine.use_demo_disc()
        recording = Recording(self.scratch / "sound.raw")
        process = self.start(recording.path)
        main = self.wait_for_window(MAIN_TITLE)
        recording.wait_for(1.0)
        self.press(main, "F5")  # the music stops, so that the cues sound alone

        # Ctrl+C, then Ctrl+D, move the directory list to each drive's root, the drive list with it.
        # D:\ lists DEMOS, DOCS, DRIVERS, GAMES, SPINDECK, UTILS; Enter opens GAMES.
        self.press(main, "ctrl+c")
        self.press(main, "ctrl+d")
        self.press(main, "Down", "Down", "Down", "Down", "Return")
        time.sleep(1.5)  # the cues of the directories passed on the way are over
        before = recording.seconds()
        self.press(main, "Down")  # D:\GAMES\STARFALL holds FILE_ID.DIZ and QRV.TXT
        recording.wait_for(before + 1.5)

        spans = [(start, end) for start, end in recording.spans() if end > before]
        self.assertEqual(len(spans), 1, f"one cue after the last arrow: {spans}")
        start, end = spans[0]
        self.assertGreaterEqual(end - start, 0.5, f"the cue lasts {end - start:.2f} s")
        low = recording.tone_power(LOW_FIFTH, start + 0.35, start + 0.55)
        high = recording.tone_power(BLIP, start + 0.35, start + 0.55)
        self.assertGreater(low, 4 * high, f"the low fifth ends the cue (A4 {low:.0f}, A5 {high:.0f})")
        self.screenshot("descriptions", main)

        self.press(main, "alt+i")
        install = self.wait_for_window(INSTALL_TITLE)
        self.assertEqual(self.visible_windows(process), [install], "the main window gives way")
        process.kill()


if __name__ == "__main__":
    unittest.main()
