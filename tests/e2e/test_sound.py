"""Sound as a person hears it: the real binary plays through SDL's disk driver into a file, and the
tests read the samples back. The driver writes in real time, so every wait here is a wait for the
file to grow; the limits are generous, because a busy machine writes unevenly."""

import unittest

from harness import MAIN_TITLE, SpindeckTestCase
from recording import Recording, wav_seconds

class SoundTest(SpindeckTestCase):
    def setUp(self):
        super().setUp()
        self.recordings = 0

    def start_recording(self):
        """Starts spindeck with its sound written to a new file; returns the process, the main window
        and the recording."""
        self.recordings += 1
        recording = Recording(self.scratch / f"sound-{self.recordings}.raw")
        process = self.start(recording.path)
        return process, self.wait_for_window(MAIN_TITLE), recording

    def test_the_start_cue_sounds_at_once(self):
        start_cue = self.machine.program_dir / "START.WAV"
        self.machine.make_media("wav", "start", str(self.scratch / "start.wav"))
        cue_length = wav_seconds(self.scratch / "start.wav")
        chime = (0.15, 0.5)  # the default chime lasts 0.3 s
        cases = [
            # name, the cue beside the program, QRV.INI settings, how long the first sound lasts
            ("the cue QRV.INI names", "start", {"mStartUp": start_cue.name}, (cue_length - 0.1, cue_length + 0.3)),
            ("no cue file at all: the default chime", None, {}, chime),
            ("a cue that is not a sound: the default chime", None, {"mStartUp": "QRV.INI"}, chime),
        ]
        for name, cue, settings, (shortest, longest) in cases:
            with self.subTest(name):
                start_cue.unlink(missing_ok=True)
                if cue:
                    self.machine.make_media("wav", cue, start_cue.name)
                self.machine.configure(**settings)
                process, _, recording = self.start_recording()
                recording.wait_for(2.0)
                process.kill()
                process.wait(timeout=10)
                spans = recording.spans()
                self.assertTrue(spans, "nothing audible")
                start, end = spans[0]
                self.assertLess(start, 1.0, "the cue sounds within the first second")
                self.assertTrue(shortest <= end - start <= longest,
                                f"the first sound lasts {end - start:.2f} s, not {shortest:.2f} to {longest:.2f} s")

    def test_the_music_starts_again_after_its_release_tail(self):
        # One second of music; the player reports it stopped about 3 s after its last note, and the
        # once-a-second status check then starts it again.
        self.machine.make_media("midi-short", "MUSIC.MID")
        self.machine.configure(mMIDI="MUSIC.MID")
        process, _, recording = self.start_recording()
        recording.wait_for(9.0)
        process.kill()
        spans = recording.spans()
        self.assertGreaterEqual(len(spans), 2, f"the music sounds once only: {spans}")
        self.assertLess(spans[0][0], 1.5, "the music starts with the program")
        (_, first_end), (second_start, _) = spans[0], spans[1]
        self.assertGreaterEqual(second_start - first_end, 1.0, f"a quiet release tail before the repeat: {spans}")
        # Positions are in recorded seconds; the disk driver writes somewhat faster than real time.
        self.assertGreaterEqual(second_start, 3.0, f"the repeat comes after the piece and its tail: {spans}")

    def test_f5_silences_the_music_and_brings_it_back(self):
        self.machine.make_media("midi", "MUSIC.MID")
        self.machine.configure(mMIDI="MUSIC.MID")
        process, main, recording = self.start_recording()
        recording.wait_for(1.5)
        playing = recording.seconds()
        self.assertTrue(recording.audible_between(playing - 0.5, playing), "the music plays")

        self.press(main, "F5")
        off = recording.seconds()
        recording.wait_for(off + 2.0)  # past two status checks, which must not start it again
        self.assertFalse(recording.audible_between(off + 0.3, recording.seconds()),
                         f"silent from {off + 0.3:.2f} s: {recording.spans()}")

        self.press(main, "F5")
        on = recording.seconds()
        recording.wait_for(on + 1.5)
        self.assertTrue(recording.audible_between(on, recording.seconds()), "the music plays again")
        process.kill()

    def test_exit_ends_the_program_after_the_exit_cue(self):
        exit_cue = self.machine.program_dir / "EXIT.WAV"
        self.machine.make_media("wav", "exit", exit_cue.name)
        self.machine.configure(mExit=exit_cue.name)
        process, main, recording = self.start_recording()
        recording.wait_for(1.0)  # the start chime is over
        self.press(main, "alt+x")
        self.assertEqual(self.wait_for_exit(process), 0)
        spans = recording.spans()
        self.assertGreaterEqual(len(spans), 2, f"the start chime, then the exit cue: {spans}")
        start, end = spans[-1]
        self.assertGreaterEqual(end - start, wav_seconds(exit_cue) - 0.05,
                                f"the exit cue was cut off after {end - start:.2f} s")


if __name__ == "__main__":
    unittest.main()
