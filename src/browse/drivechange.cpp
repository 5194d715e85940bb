#include "drivechange.h"

namespace spindeck::browse {

void followDriveList(ui::MainDesign& main, ui::Toolkit& toolkit) {
    // "d:" names the drive's current directory.
    const auto moved = main.dirListBox->setPath(main.drvList->drive().left(2));
    if (!moved && moved.error().number == ui::ListError::deviceUnavailable().number) {
        toolkit.messageBox(moved.error().description);
    }
}

} // namespace spindeck::browse
