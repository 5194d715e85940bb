"""What a screen reader reads: the main window's FILE_ID.DIZ box through the accessibility tree
(AT-SPI), on a session bus of the test's own."""

import os
import signal
import subprocess
import time
import unittest

from harness import MAIN_TITLE, SpindeckTestCase

# A box drawn with code page 437 lines around a smiley (0x01) and shaded blocks. The box shows a
# FILE_ID.DIZ without its last two bytes, the line end that closes the file.
DIZ = (b"\xc9" + b"\xcd" * 12 + b"\xbb\r\n"
       b"\xba  Spindeck \x01 \xba\r\n"
       b"\xba \xdb\xb2\xb1\xb0 shades \xba\r\n"
       b"\xc8" + b"\xcd" * 12 + b"\xbc\r\n")
DIZ_TEXT = ("╔" + "═" * 12 + "╗\n"
            "║  Spindeck ☺ ║\n"
            "║ █▓▒░ shades ║\n"
            "╚" + "═" * 12 + "╝")
# The description of the first directory on the disc.
NEXT_DIZ = b"\xda\xc4\xc4\xbf next\r\n\xc0\xc4\xc4\xd9\r\n"
NEXT_TEXT = "┌──┐ next\n└──┘"


class SessionBus:
    """A D-Bus session bus of its own; the accessibility bus is started on it when first asked for.
    Every process it starts shares its process group, so that closing it ends them all."""

    def __init__(self):
        self.process = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                                        start_new_session=True)
        self.address = self.process.stdout.readline().strip()

    def accessibility_bus_starts(self, env):
        asked = subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                                "org.a11y.Bus.GetAddress"], env=env, capture_output=True, text=True, timeout=30)
        return asked.returncode == 0, asked.stderr.strip()

    def close(self):
        try:
            os.killpg(self.process.pid, signal.SIGTERM)
        except ProcessLookupError:
            pass
        self.process.wait(timeout=10)
        self.process.stdout.close()


class AccessibilityTest(SpindeckTestCase):
    def setUp(self):
        super().setUp()
        self.bus = SessionBus()
        self.addCleanup(self.bus.close)
        if not self.bus.address:
            self.skipTest("no D-Bus session bus could be started on this machine")
        self.machine.env.update(DBUS_SESSION_BUS_ADDRESS=self.bus.address, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        started, reason = self.bus.accessibility_bus_starts(self.machine.env)
        if not started:
            self.skipTest(f"the accessibility bus (at-spi2-core) cannot start on this machine: {reason}")
        # The accessibility library finds its bus through the session bus when first imported.
        os.environ.update(DBUS_SESSION_BUS_ADDRESS=self.bus.address, DISPLAY=self.display.name)
        import gi
        gi.require_version("Atspi", "2.0")
        from gi.repository import Atspi, GLib
        self.atspi = Atspi
        self.main_context = GLib.MainContext.default()
        # Listening before the program starts: it asks which events are listened for when it starts.
        self.events = []
        self.listener = Atspi.EventListener.new(
            lambda event: self.events.append((event.type, event.source.get_name(), event.any_data)))
        for event in ("object:text-changed", "object:text-selection-changed"):
            self.listener.register(event)
            self.addCleanup(self.listener.deregister, event)

    def find(self, node, matches, depth=0):
        if node is None or depth > 12:
            return None
        if matches(node):
            return node
        for index in range(node.get_child_count()):
            found = self.find(node.get_child_at_index(index), matches, depth + 1)
            if found is not None:
                return found
        return None

    def wait_for_node(self, matches, what, timeout=20):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            desktop = self.atspi.get_desktop(0)
            for index in range(desktop.get_child_count()):
                app = desktop.get_child_at_index(index)
                if app is not None and app.get_name() == "Spindeck":
                    found = self.find(app, matches)
                    if found is not None:
                        return found
            self.pause()
        self.fail(f"no {what} in the accessibility tree within {timeout} s")

    def pause(self):
        """A tenth of a second in which the events that come in are handled."""
        deadline = time.monotonic() + 0.1
        while time.monotonic() < deadline:
            if not self.main_context.iteration(False):
                time.sleep(0.01)

    def wait_for_text(self, box, text, timeout=10):
        deadline = time.monotonic() + timeout
        while box.get_text(0, -1) != text and time.monotonic() < deadline:
            self.pause()
        self.assertEqual(box.get_text(0, -1), text)

    def test_the_description_box_reads_as_the_file_shows(self):
        (self.machine.d / "FILE_ID.DIZ").write_bytes(DIZ)
        (self.machine.d / "NEXT").mkdir()
        (self.machine.d / "NEXT" / "FILE_ID.DIZ").write_bytes(NEXT_DIZ)
        process = self.start()
        main = self.wait_for_window(MAIN_TITLE)
        Role = self.atspi.Role

        box = self.wait_for_node(lambda node: node.get_role() == Role.TEXT and node.get_name() == "FILE_ID.DIZ",
                                 "text box named FILE_ID.DIZ")
        # The box is filled once the start has selected the directory; the tree may be read before.
        self.wait_for_text(box, DIZ_TEXT)
        self.assertEqual(box.get_character_count(), len(DIZ_TEXT))
        self.assertEqual(box.get_text(16, 30), DIZ_TEXT[16:30])
        # The bridge of Qt 6.4 answers the older boundary call, not the granularity one.
        line = box.get_text_at_offset(20, self.atspi.TextBoundaryType.LINE_START)
        self.assertEqual((line.content, line.start_offset, line.end_offset), ("║  Spindeck ☺ ║\n", 15, 31))

        self.wait_for_node(lambda node: node.get_role() == Role.PUSH_BUTTON and node.get_name() == "Exit",
                           "button named Exit")
        # Down moves the directory list to D:\NEXT, whose description replaces the text, and the box
        # tells listeners so.
        self.press(main, "Down")
        self.wait_for_text(box, NEXT_TEXT)
        announced = ("object:text-changed:insert", "FILE_ID.DIZ", NEXT_TEXT)
        self.wait_until(lambda: self.pause() or announced in self.events, "no text-changed event carries the new text")

        # A screen reader selects "next" (CR LF counts as one character).
        self.assertTrue(box.set_selection(0, 5, 9))
        self.assertEqual((box.get_selection(0).start_offset, box.get_selection(0).end_offset), (5, 9))
        selection_told = lambda: any(event[0] == "object:text-selection-changed" for event in self.events)
        self.wait_until(lambda: self.pause() or selection_told(), "no text-selection-changed event")
        self.press(main, "alt+x")
        self.assertEqual(self.wait_for_exit(process), 0)


if __name__ == "__main__":
    unittest.main()
