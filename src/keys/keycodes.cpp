#include "keycodes.h"

namespace spindeck::keys {

int characterCode(const QKeyEvent& event) {
    const int key = event.key();
    const bool ctrl = event.modifiers().testFlag(Qt::ControlModifier);
    if (ctrl && key >= Qt::Key_A && key <= Qt::Key_Z) {
        return key - Qt::Key_A + 1;
    }
    if (key == Qt::Key_Backspace) {
        return 8;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        return 13;
    }
    const QString text = event.text();
    if (text.size() == 1 && text[0].unicode() >= 1 && text[0].unicode() <= 255) {
        return text[0].unicode();
    }
    return 0;
}

int shiftState(Qt::KeyboardModifiers modifiers) {
    return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) + (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) +
           (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}

} // namespace spindeck::keys
