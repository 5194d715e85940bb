"""What SDL's disk audio driver writes, read back: when sound was audible, and how strong a tone was."""

import array
import math
import time
import wave

RATE = 44100
CHANNELS = 2
FRAME_BYTES = 2 * CHANNELS
BLOCK = 0.01  # seconds of sound per level reading
LOUD = 300  # a block whose peak reaches this is audible (about 1 % of full scale)
GAP = 0.25  # silence shorter than this does not split a sound in two


class Recording:
    """The file the disk driver writes: signed 16-bit stereo frames in the machine's byte order, as
    the mixer opens the device and as array("h") reads them."""

    def __init__(self, path):
        self.path = path

    def seconds(self):
        """How much sound the file holds so far."""
        try:
            return self.path.stat().st_size // FRAME_BYTES / RATE
        except FileNotFoundError:
            return 0.0

    def wait_for(self, seconds, timeout=30):
        deadline = time.monotonic() + timeout
        while self.seconds() < seconds:
            if time.monotonic() > deadline:
                raise AssertionError(f"the sound file holds {self.seconds():.2f} s, not {seconds} s, "
                                     f"after {timeout} s")
            time.sleep(0.05)

    def samples(self):
        samples = array.array("h")
        data = self.path.read_bytes()
        samples.frombytes(data[:len(data) // FRAME_BYTES * FRAME_BYTES])
        return samples

    def spans(self):
        """The audible stretches as (start, end) in seconds from the file's start."""
        samples = self.samples()
        block = int(RATE * BLOCK) * CHANNELS
        found = []
        for first in range(0, len(samples), block):
            if max(map(abs, samples[first:first + block])) < LOUD:
                continue
            start = first / CHANNELS / RATE
            if found and start - found[-1][1] < GAP:
                found[-1] = (found[-1][0], start + BLOCK)
            else:
                found.append((start, start + BLOCK))
        return found

    def audible_between(self, start, end):
        return any(s < end and e > start for s, e in self.spans())

    def tone_power(self, frequency, start, end):
        """The strength of one frequency in the left channel between two moments (Goertzel's
        recurrence), per sample, so windows of different lengths compare."""
        left = self.samples()[int(start * RATE) * CHANNELS:int(end * RATE) * CHANNELS:CHANNELS]
        coefficient = 2 * math.cos(2 * math.pi * frequency / RATE)
        previous = before = 0.0
        for sample in left:
            previous, before = sample + coefficient * previous - before, previous
        power = previous * previous + before * before - coefficient * previous * before
        return power / max(1, len(left)) ** 2


def wav_seconds(path):
    with wave.open(str(path)) as cue:
        return cue.getnframes() / cue.getframerate()

