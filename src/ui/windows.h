#pragma once

// Window placement shared by every window.

#include <QWidget>

namespace spindeck::ui {

// left = (screen width - window width) / 2, top likewise.
void centreOnScreen(QWidget& window);

} // namespace spindeck::ui
