#pragma once

// Applies the settings pass to the windows and the shared settings, row by row. The first row of
// the install window's groups creates the install window (hidden), whose own set-up runs then.

#include "config/settings.h"
#include "forms.h"

#include <vector>

namespace spindeck::app {

class MainForm;

void applySettings(const std::vector<config::SettingAction>& actions, MainForm& main, Forms& forms,
                   ui::Services& services);

} // namespace spindeck::app
