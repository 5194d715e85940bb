#include "windows.h"

#include <QGuiApplication>
#include <QScreen>

namespace spindeck::ui {

void centreOnScreen(QWidget& window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->geometry();
    window.move(area.x() + (area.width() - window.width()) / 2, area.y() + (area.height() - window.height()) / 2);
}

} // namespace spindeck::ui
