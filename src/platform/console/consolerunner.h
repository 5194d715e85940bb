#pragma once

// The program's way to run a batch file and wait for it: the command interpreter spindeck-cmd in
// a console window (consolewindow.h), handed the drive map's current drive and directories.

#include "platform/batchrunner.h"

#include <QString>
#include <optional>

namespace spindeck::platform {

// Where the interpreter is: beside the program's own executable, else on PATH; empty text when
// it is in neither place.
[[nodiscard]] QString findInterpreter();

// "Spindeck - C:\QRV.BAT": the caption of the console window for a command line.
[[nodiscard]] QString consoleCaption(const std::string& commandLine);

class ConsoleBatchRunner final : public BatchRunner {
public:
    // `interpreter` replaces the search for spindeck-cmd (tests run a child of their own).
    explicit ConsoleBatchRunner(const DosFileSystem& files, std::optional<QString> interpreter = std::nullopt);

    // Every show state gives a normal window with the focus: callers pass only that one.
    int SyncShell(const std::string& commandLine, int showState) override;

private:
    const DosFileSystem& m_files;
    std::optional<QString> m_interpreter;
};

} // namespace spindeck::platform
