#pragma once

// Character codes and shift states as the keyboard commands see them. The code is derived from
// the key and its modifiers, not from the event's text, so that Ctrl+D gives 4 alike under a real
// X server (text "\x04") and under test drivers (text "d").

#include <QKeyEvent>

namespace spindeck::keys {

// 1 to 26 for Ctrl with a letter, 8 for Backspace, 13 for Enter, the character's code (up to 255)
// for other keys that type one; 0 for keys that type nothing.
[[nodiscard]] int characterCode(const QKeyEvent& event);

// Shift 1, Ctrl 2, Alt 4, summed.
[[nodiscard]] int shiftState(Qt::KeyboardModifiers modifiers);

} // namespace spindeck::keys
