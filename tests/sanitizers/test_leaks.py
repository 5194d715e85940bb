"""One start and exit of the sanitizer-built spindeck under Xvfb: the leak check at exit, and every
other sanitizer report, must stay silent."""

import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "e2e"))

from harness import MAIN_TITLE, SpindeckTestCase  # noqa: E402

SUPPRESSIONS = Path(__file__).resolve().parent / "lsan.supp"


class LeakTest(SpindeckTestCase):
    def test_start_and_alt_x_leave_no_leak(self):
        # Reports go to files, so that a long one cannot fill the pipe and hold the program up.
        logs = self.scratch / "sanitizer"
        process = self.start(ASAN_OPTIONS=f"detect_leaks=1:log_path={logs}",
                             LSAN_OPTIONS=f"suppressions={SUPPRESSIONS}:print_suppressions=0",
                             UBSAN_OPTIONS=f"print_stacktrace=1:log_path={logs}")
        main = self.wait_for_window(MAIN_TITLE, timeout=60)
        self.press(main, "alt+x")
        status = self.wait_for_exit(process, timeout=60)
        reports = "".join(path.read_text(errors="replace") for path in sorted(self.scratch.glob("sanitizer.*")))
        self.assertFalse(reports, "the sanitizers reported:\n" + reports)
        self.assertEqual(status, 0)


if __name__ == "__main__":
    unittest.main()
