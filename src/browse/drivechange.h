#pragma once

// Following the main window's drive list with its directory list.

#include "ui/designs.h"
#include "ui/toolkit.h"

namespace spindeck::browse {

// The Change handler of the drive list: the directory list moves to the chosen drive's current
// directory. A drive that is not ready is reported in a message box; the directory list stays
// where it was and the drive list keeps the chosen drive.
void followDriveList(ui::MainDesign& main, ui::Toolkit& toolkit);

} // namespace spindeck::browse
