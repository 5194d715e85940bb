#pragma once

// The DOS command interpreter that runs install batch files, confined to the drive map.
//
// A batch file is read whole and split into lines (commandline.h); each line is %-expanded, split
// at "|" with its redirections taken out, and its command is looked up in one table of internal
// commands (interpreter.cpp; the file commands live in filecommands.cpp). A name that is not in the
// table is tried, in this order, as a tool (the archive commands, handed in through addTool), as a
// batch file, and as a DOS program, in the current directory and then along PATH. Every path goes
// through the DosFileSystem, so nothing outside the mapped drives is touched and a CD-ROM drive
// stays unchanged. A failing command writes one DOS-style message naming the file or command,
// counts as a failure, and the batch file goes on where DOS would go on.

#include "commandline.h"
#include "console.h"
#include "platform/dosfs.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace spindeck::shell {

// A command that lives outside the interpreter (an archive program over a library).
struct ToolOutput {
    std::function<void(std::string_view line)> print; // a normal output line
    std::function<void(std::string_view line)> error; // one DOS-style error message line
};
struct Tool {
    std::function<bool(std::string_view upperName)> handles;
    // Returns the errorlevel: 0 success, anything else failure (already reported through error).
    std::function<int(std::string_view upperName, const std::vector<std::string>& args, platform::DosFileSystem& files,
                      const ToolOutput& out)>
        run;
};

enum class RunResult {
    Succeeded,  // every command succeeded
    Failed,     // at least one command failed
    Unreadable, // the batch file could not be read, or is not a batch file
};

class Interpreter final {
public:
    Interpreter(platform::DosFileSystem& files, Console& console);
    Interpreter(const Interpreter&) = delete;
    Interpreter& operator=(const Interpreter&) = delete;

    void addTool(Tool tool);

    // Runs the batch file at a DOS path with its parameters (%1 on; %0 is the path as given).
    RunResult runBatch(std::string_view dosPath, const std::vector<std::string>& parameters);
    // Runs one command line as typed at the prompt (no %-expansion, as DOS does there).
    RunResult runLine(std::string_view line);

    [[nodiscard]] int errorLevel() const { return m_errorLevel; }
    [[nodiscard]] int failures() const { return m_failures; }
    [[nodiscard]] std::optional<std::string> variable(std::string_view name) const;
    void setVariable(std::string_view name, std::string_view value);

    // Handlers of the command table (one each); the text after the command name comes in as the
    // tail. They return false when the command failed (and said so).
    using Handler = bool (Interpreter::*)(std::string_view tail, const Redirections& redirections);
    struct Command {
        std::string_view name;
        Handler handler;
        bool redirectsItself; // IF, FOR and REM pass redirections on (or ignore them)
    };

private:
    struct BatchFrame {
        std::string path;
        std::vector<std::string> lines;
        std::size_t next = 0;
        std::vector<std::string> parameters; // %0, %1, ... (SHIFT drops the first)
    };
    struct Match {
        std::string path; // full DOS path
        std::string name; // host (long) name
        bool isDirectory = false;
        std::uint64_t size = 0;
    };
    enum class OutputKind { Console, Buffer, Discard };
    struct IoState {
        OutputKind output = OutputKind::Console;
        std::string buffer;
        std::optional<std::string> input; // nullopt: the console
        std::size_t inputPos = 0;
    };
    enum class Program { None, Batch, Dos };
    struct FoundProgram {
        Program kind = Program::None;
        std::string path;
    };

    // Running lines and batch files.
    RunResult result(int failuresBefore) const;
    void runFrames(std::size_t depth);
    void runBatchLine(std::string_view raw);
    void execute(std::string_view line);
    bool dispatch(std::string_view text, const Redirections& redirections);
    bool withRedirections(const Redirections& redirections, const std::function<bool()>& run);
    bool startBatch(const std::string& dosPath, std::vector<std::string> parameters, bool call);
    bool runProgram(std::string_view text);
    bool runDosProgram(std::string_view typed, const std::string& dosPath, std::string_view tail);
    bool runTool(const Tool& tool, std::string_view upperName, std::string_view tail);
    [[nodiscard]] FoundProgram findProgram(std::string_view name) const;
    [[nodiscard]] std::string prompt() const;

    // Output, input and errors of the running command.
    void write(std::string_view bytes);
    // " [C:\QRV.BAT line 3]" while a batch file runs, so that a message says where it failed.
    [[nodiscard]] std::string where() const;
    void reportError(std::string_view message);
    void writeLine(std::string_view text);
    bool fail(std::string_view message);
    bool fail(const platform::PathError& error);
    std::optional<char> readKey(std::optional<std::chrono::seconds> timeout = std::nullopt);
    // Reads keys until one of `answers` (upper case) comes; `fallback` at the end of input.
    char ask(std::string_view question, std::string_view answers, char fallback);
    bool askYesNo(std::string_view question);

    // The files a DOS name stands for (wildcards allowed).
    [[nodiscard]] platform::PathResult<std::vector<Match>> matchFiles(std::string_view wanted,
                                                                      bool includeDirectories) const;
    // The error of a path that exists but may not be used (outside its drive, drive not ready).
    [[nodiscard]] std::optional<platform::PathError> refusalOf(std::string_view dosPath) const;
    [[nodiscard]] bool isDirectory(std::string_view dosPath) const;
    [[nodiscard]] bool exists(std::string_view wanted) const;
    bool makeDirectories(const std::string& dosPath);
    bool failToMakeDirectory(std::string_view dosPath, const platform::PathError& error);
    bool copyOneFile(const Match& source, const std::string& target);
    bool removeTree(const std::string& dosPath);
    int copyTree(const std::string& sourceDir, std::string_view pattern, const std::string& targetDir, bool recurse,
                 bool keepEmpty, bool& failed);

public:
    // Internal commands (the table in interpreter.cpp names them).
    bool cmdCall(std::string_view tail, const Redirections& redirections);
    bool cmdCd(std::string_view tail, const Redirections& redirections);
    bool cmdChoice(std::string_view tail, const Redirections& redirections);
    bool cmdCls(std::string_view tail, const Redirections& redirections);
    bool cmdCopy(std::string_view tail, const Redirections& redirections);
    bool cmdDel(std::string_view tail, const Redirections& redirections);
    bool cmdDeltree(std::string_view tail, const Redirections& redirections);
    bool cmdDir(std::string_view tail, const Redirections& redirections);
    bool cmdEcho(std::string_view tail, const Redirections& redirections);
    bool cmdExit(std::string_view tail, const Redirections& redirections);
    bool cmdFor(std::string_view tail, const Redirections& redirections);
    bool cmdGoto(std::string_view tail, const Redirections& redirections);
    bool cmdIf(std::string_view tail, const Redirections& redirections);
    bool cmdMd(std::string_view tail, const Redirections& redirections);
    bool cmdMore(std::string_view tail, const Redirections& redirections);
    bool cmdMove(std::string_view tail, const Redirections& redirections);
    bool cmdPath(std::string_view tail, const Redirections& redirections);
    bool cmdPause(std::string_view tail, const Redirections& redirections);
    bool cmdRd(std::string_view tail, const Redirections& redirections);
    bool cmdRem(std::string_view tail, const Redirections& redirections);
    bool cmdRen(std::string_view tail, const Redirections& redirections);
    bool cmdSet(std::string_view tail, const Redirections& redirections);
    bool cmdShift(std::string_view tail, const Redirections& redirections);
    bool cmdType(std::string_view tail, const Redirections& redirections);
    bool cmdVer(std::string_view tail, const Redirections& redirections);
    bool cmdXcopy(std::string_view tail, const Redirections& redirections);

private:
    platform::DosFileSystem& m_files;
    Console& m_console;
    std::vector<Tool> m_tools;
    std::vector<std::pair<std::string, std::string>> m_environment; // in the order set
    std::vector<BatchFrame> m_frames;
    IoState m_io;
    bool m_echo = true;
    bool m_exitRequested = false;
    bool m_inFor = false;
    int m_errorLevel = 0;
    int m_failures = 0;
};

// One line for a user, as DOS words it: "File not found - C:\X.TXT".
[[nodiscard]] std::string dosMessage(const platform::PathError& error);

} // namespace spindeck::shell
