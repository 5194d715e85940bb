#include "interpreter.h"

#include "dosbox.h"
#include "platform/dospath.h"
#include "wildcard.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace spindeck::shell {

namespace {

using platform::PathErrorCode;
using platform::dospath::equalsIgnoringCase;
using platform::dospath::upperAscii;

// Deeper CALL chains than this are a batch file calling itself without end.
constexpr std::size_t kMaxBatchDepth = 32;

// The command table. Order of fallbacks for a name not found here: a tool (archive commands),
// then a batch file, then a DOS program, each in the current directory and then along PATH.
constexpr std::array kCommands{
    Interpreter::Command{"CALL", &Interpreter::cmdCall, false},
    Interpreter::Command{"CD", &Interpreter::cmdCd, false},
    Interpreter::Command{"CHDIR", &Interpreter::cmdCd, false},
    Interpreter::Command{"CHOICE", &Interpreter::cmdChoice, false},
    Interpreter::Command{"CLS", &Interpreter::cmdCls, false},
    Interpreter::Command{"COPY", &Interpreter::cmdCopy, false},
    Interpreter::Command{"DEL", &Interpreter::cmdDel, false},
    Interpreter::Command{"DELTREE", &Interpreter::cmdDeltree, false},
    Interpreter::Command{"DIR", &Interpreter::cmdDir, false},
    Interpreter::Command{"ECHO", &Interpreter::cmdEcho, false},
    Interpreter::Command{"ERASE", &Interpreter::cmdDel, false},
    Interpreter::Command{"EXIT", &Interpreter::cmdExit, false},
    Interpreter::Command{"FOR", &Interpreter::cmdFor, true},
    Interpreter::Command{"GOTO", &Interpreter::cmdGoto, false},
    Interpreter::Command{"IF", &Interpreter::cmdIf, true},
    Interpreter::Command{"MD", &Interpreter::cmdMd, false},
    Interpreter::Command{"MKDIR", &Interpreter::cmdMd, false},
    Interpreter::Command{"MORE", &Interpreter::cmdMore, false},
    Interpreter::Command{"MOVE", &Interpreter::cmdMove, false},
    Interpreter::Command{"PATH", &Interpreter::cmdPath, false},
    Interpreter::Command{"PAUSE", &Interpreter::cmdPause, false},
    Interpreter::Command{"RD", &Interpreter::cmdRd, false},
    Interpreter::Command{"REM", &Interpreter::cmdRem, true},
    Interpreter::Command{"REN", &Interpreter::cmdRen, false},
    Interpreter::Command{"RENAME", &Interpreter::cmdRen, false},
    Interpreter::Command{"RMDIR", &Interpreter::cmdRd, false},
    Interpreter::Command{"SET", &Interpreter::cmdSet, false},
    Interpreter::Command{"SHIFT", &Interpreter::cmdShift, false},
    Interpreter::Command{"TYPE", &Interpreter::cmdType, false},
    Interpreter::Command{"VER", &Interpreter::cmdVer, false},
    Interpreter::Command{"XCOPY", &Interpreter::cmdXcopy, false},
};

const Interpreter::Command* findCommand(std::string_view upperName) {
    const auto found = std::find_if(kCommands.begin(), kCommands.end(),
                                    [&](const Interpreter::Command& command) { return command.name == upperName; });
    return found == kCommands.end() ? nullptr : &*found;
}

// "XCOPY.EXE *.* C:\X" names the command XCOPY: the extension of the program file is dropped.
std::string_view withoutProgramExtension(std::string_view tail) {
    if (tail.size() >= 4 && tail[0] == '.' &&
        (equalsIgnoringCase(tail.substr(1, 3), "EXE") || equalsIgnoringCase(tail.substr(1, 3), "COM")) &&
        (tail.size() == 4 || isBlank(tail[4]) || tail[4] == '/')) {
        return tail.substr(4);
    }
    return tail;
}

bool isDriveSwitch(std::string_view text) {
    return text.size() == 2 && text[1] == ':' && std::isalpha(static_cast<unsigned char>(text[0])) != 0;
}

// Reads a word up to a blank; `text` moves past it and the blanks after it.
std::string_view takeWord(std::string_view& text) {
    text = trimBlanks(text);
    std::size_t end = 0;
    while (end < text.size() && !isBlank(text[end])) {
        ++end;
    }
    const std::string_view word = text.substr(0, end);
    text = trimBlanks(text.substr(end));
    return word;
}

bool startsWithKeyword(std::string_view text, std::string_view keyword) {
    return text.size() > keyword.size() && equalsIgnoringCase(text.substr(0, keyword.size()), keyword) &&
           (isBlank(text[keyword.size()]) || text[keyword.size()] == '=');
}

std::string replaceAll(std::string_view text, std::string_view what, std::string_view with) {
    std::string result;
    std::size_t pos = 0;
    while (true) {
        const auto found = text.find(what, pos);
        result += text.substr(pos, found - pos);
        if (found == std::string_view::npos) {
            return result;
        }
        result += with;
        pos = found + what.size();
    }
}

std::string toConsoleLineEnds(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            continue;
        }
        text += bytes[i];
    }
    return text;
}

bool isNulDevice(std::string_view target) {
    const auto slash = target.find_last_of("\\:");
    const std::string_view name = slash == std::string_view::npos ? target : target.substr(slash + 1);
    return equalsIgnoringCase(name, "NUL") || equalsIgnoringCase(target, "NUL:");
}

bool isConsoleDevice(std::string_view target) {
    return equalsIgnoringCase(target, "CON") || equalsIgnoringCase(target, "CON:");
}

} // namespace

std::string dosMessage(const platform::PathError& error) {
    const std::string& path = error.path;
    switch (error.code) {
    case PathErrorCode::UnknownDrive:
        return "Invalid drive - " + path;
    case PathErrorCode::NotReady:
        return "Drive not ready - " + path;
    case PathErrorCode::FileNotFound:
        return "File not found - " + path;
    case PathErrorCode::PathNotFound:
        return "Path not found - " + path;
    case PathErrorCode::OutsideDrive:
        return "Access denied - " + path + " (it leads outside its drive)";
    case PathErrorCode::ReadOnly:
        return "Access denied - " + path + " (the drive is read-only)";
    case PathErrorCode::InvalidName:
        return "Invalid file name - " + path;
    case PathErrorCode::AlreadyExists:
        return "File already exists - " + path;
    case PathErrorCode::NotADirectory:
        return "Invalid directory - " + path;
    case PathErrorCode::NotEmpty:
        return "Directory not empty - " + path;
    case PathErrorCode::AccessDenied:
        return "Access denied - " + path;
    case PathErrorCode::IoError:
        break;
    }
    return "Read or write error - " + path + (error.reason.empty() ? "" : " (" + error.reason + ")");
}

Interpreter::Interpreter(platform::DosFileSystem& files, Console& console) : m_files(files), m_console(console) {
    setVariable("PROMPT", "$P$G");
}

void Interpreter::addTool(Tool tool) {
    m_tools.push_back(std::move(tool));
}

std::optional<std::string> Interpreter::variable(std::string_view name) const {
    const std::string upper = upperAscii(name);
    for (const auto& [key, value] : m_environment) {
        if (key == upper) {
            return value;
        }
    }
    return std::nullopt;
}

void Interpreter::setVariable(std::string_view name, std::string_view value) {
    const std::string upper = upperAscii(name);
    std::erase_if(m_environment, [&](const auto& entry) { return entry.first == upper; });
    if (!value.empty()) {
        m_environment.emplace_back(upper, std::string(value));
    }
}

RunResult Interpreter::result(int failuresBefore) const {
    return m_failures > failuresBefore ? RunResult::Failed : RunResult::Succeeded;
}

RunResult Interpreter::runBatch(std::string_view dosPath, const std::vector<std::string>& parameters) {
    const int before = m_failures;
    auto bytes = m_files.readFile(dosPath);
    if (!bytes) {
        fail(bytes.error());
        return RunResult::Unreadable;
    }
    auto lines = splitBatchLines(*bytes);
    if (!lines) {
        fail("Cannot run " + std::string(dosPath) + ": line " + std::to_string(lines.error().line) + " " +
             lines.error().reason);
        return RunResult::Unreadable;
    }
    std::vector<std::string> all{std::string(dosPath)};
    all.insert(all.end(), parameters.begin(), parameters.end());
    m_echo = true;
    m_frames.push_back(BatchFrame{std::string(dosPath), std::move(*lines), 0, std::move(all)});
    runFrames(m_frames.size());
    m_frames.clear();
    m_exitRequested = false;
    return result(before);
}

RunResult Interpreter::runLine(std::string_view line) {
    const int before = m_failures;
    execute(line);
    runFrames(1); // a batch file started from the line runs to its end
    m_frames.clear();
    m_exitRequested = false;
    return result(before);
}

void Interpreter::runFrames(std::size_t depth) {
    while (m_frames.size() >= depth && depth > 0 && !m_exitRequested) {
        BatchFrame& frame = m_frames.back();
        if (frame.next >= frame.lines.size()) {
            m_frames.pop_back();
            continue;
        }
        const std::string line = frame.lines[frame.next++];
        runBatchLine(line);
    }
}

std::string Interpreter::prompt() const {
    return m_files.currentDirectory(m_files.currentDrive()) + ">";
}

void Interpreter::runBatchLine(std::string_view raw) {
    std::string_view text = raw;
    bool silent = false;
    while (!text.empty() && (isBlank(text.front()) || text.front() == '@')) {
        silent = silent || text.front() == '@';
        text.remove_prefix(1);
    }
    if (text.empty() || text.front() == ':') {
        return;
    }
    const std::string expanded =
        expandPercents(text, m_frames.back().parameters, [this](std::string_view name) { return variable(name); });
    if (m_echo && !silent) {
        writeLine(prompt() + expanded);
    }
    execute(expanded);
}

void Interpreter::execute(std::string_view line) {
    if (trimBlanks(line).empty()) {
        return;
    }
    m_console.commandStarted(line);
    const auto stages = splitPipeline(line);
    if (!stages) {
        fail("Syntax error");
        m_console.flush();
        return;
    }
    if (stages->size() == 1) {
        dispatch(stages->front().text, stages->front().redirections);
        m_console.flush();
        return;
    }
    // Each stage's output becomes the next one's input, as DOS does through a temporary file.
    const IoState outer = std::move(m_io);
    std::optional<std::string> piped;
    for (std::size_t i = 0; i < stages->size(); ++i) {
        m_io = IoState{};
        m_io.input = i == 0 ? outer.input : piped;
        m_io.inputPos = i == 0 ? outer.inputPos : 0;
        if (i + 1 < stages->size()) {
            m_io.output = OutputKind::Buffer;
        } else {
            m_io.output = outer.output;
        }
        dispatch((*stages)[i].text, (*stages)[i].redirections);
        piped = std::move(m_io.buffer);
    }
    std::string tail = std::move(m_io.buffer);
    m_io = outer;
    m_io.buffer += tail;
    m_console.flush();
}

bool Interpreter::dispatch(std::string_view text, const Redirections& redirections) {
    if (trimBlanks(text).empty()) {
        return true;
    }
    if (isDriveSwitch(trimBlanks(text))) {
        text = trimBlanks(text);
        return withRedirections(redirections, [&] {
            if (auto changed = m_files.setCurrentDrive(text[0]); !changed) {
                return fail(changed.error().code == PathErrorCode::NotReady ? dosMessage(changed.error())
                                                                            : "Invalid drive - " + std::string(text));
            }
            return true;
        });
    }
    const CommandWord word = internalCommandWord(text);
    if (const Command* command = findCommand(word.name)) {
        const std::string_view tail = withoutProgramExtension(word.tail);
        if (command->redirectsItself) {
            return (this->*command->handler)(tail, redirections);
        }
        return withRedirections(redirections, [&] { return (this->*command->handler)(tail, redirections); });
    }
    return withRedirections(redirections, [&] { return runProgram(text); });
}

bool Interpreter::withRedirections(const Redirections& redirections, const std::function<bool()>& run) {
    if (!redirections.input && !redirections.output) {
        return run();
    }
    IoState saved = std::move(m_io);
    m_io = IoState{};
    m_io.output = saved.output;
    m_io.input = saved.input;
    m_io.inputPos = saved.inputPos;
    if (redirections.input) {
        m_io.inputPos = 0;
        if (isNulDevice(*redirections.input)) {
            m_io.input = std::string();
        } else if (auto bytes = m_files.readFile(*redirections.input)) {
            m_io.input = std::move(*bytes);
        } else {
            m_io = std::move(saved);
            return fail(bytes.error());
        }
    }
    const std::optional<std::string>& target = redirections.output;
    const bool toFile = target && !isNulDevice(*target) && !isConsoleDevice(*target);
    if (toFile) {
        // A file that cannot be written stops the command before it runs, as on DOS.
        if (auto writable = m_files.resolveForWrite(*target); !writable) {
            m_io = std::move(saved);
            return fail(writable.error());
        }
    }
    if (target) {
        m_io.output = isNulDevice(*target)       ? OutputKind::Discard
                      : isConsoleDevice(*target) ? OutputKind::Console
                                                 : OutputKind::Buffer;
    }
    bool succeeded = run();
    std::string written = std::move(m_io.buffer);
    m_io = std::move(saved);
    if (toFile) {
        if (redirections.append) {
            if (auto old = m_files.readFile(*target)) {
                // DOS appends after the text, over an end-of-file mark.
                if (!old->empty() && old->back() == '\x1a') {
                    old->pop_back();
                }
                written = *old + written;
            }
        }
        if (auto stored = m_files.writeFile(*target, written); !stored) {
            succeeded = fail(stored.error());
        }
    }
    return succeeded;
}

// Output, input and errors.

void Interpreter::write(std::string_view bytes) {
    switch (m_io.output) {
    case OutputKind::Console:
        m_console.write(toConsoleLineEnds(bytes));
        break;
    case OutputKind::Buffer:
        m_io.buffer += bytes;
        break;
    case OutputKind::Discard:
        break;
    }
}

void Interpreter::writeLine(std::string_view text) {
    std::string line(text);
    line += "\r\n";
    write(line);
}

std::string Interpreter::where() const {
    if (m_frames.empty()) {
        return {};
    }
    return " [" + m_frames.back().path + " line " + std::to_string(m_frames.back().next) + "]";
}

void Interpreter::reportError(std::string_view message) {
    m_console.writeError(std::string(message) + where());
}

bool Interpreter::fail(std::string_view message) {
    reportError(message);
    ++m_failures;
    return false;
}

bool Interpreter::fail(const platform::PathError& error) {
    return fail(dosMessage(error));
}

std::optional<char> Interpreter::readKey(std::optional<std::chrono::seconds> timeout) {
    if (m_io.input) {
        if (m_io.inputPos >= m_io.input->size()) {
            return std::nullopt;
        }
        return (*m_io.input)[m_io.inputPos++];
    }
    return m_console.readByte(timeout);
}

char Interpreter::ask(std::string_view question, std::string_view answers, char fallback) {
    write(question);
    char answer = fallback;
    while (const auto key = readKey()) {
        if (answers.find(upperAscii(*key)) != std::string_view::npos) {
            answer = upperAscii(*key);
            break;
        }
    }
    writeLine(std::string(1, answer));
    return answer;
}

bool Interpreter::askYesNo(std::string_view question) {
    // At the end of input nobody can answer, so nothing is deleted.
    return ask(question, "YN", 'N') == 'Y';
}

// Programs and batch files.

Interpreter::FoundProgram Interpreter::findProgram(std::string_view name) const {
    const auto split = name.find_last_of("\\:");
    const std::string directory(split == std::string_view::npos ? std::string_view{} : name.substr(0, split + 1));
    const std::string file(split == std::string_view::npos ? name : name.substr(split + 1));
    if (file.empty() || hasWildcards(file)) {
        return {};
    }
    std::vector<std::string> directories{directory.empty() ? std::string(".") : directory};
    if (directory.empty()) {
        const std::string path = variable("PATH").value_or("");
        for (const auto& entry : splitParameters(replaceAll(path, ";", " "))) {
            directories.push_back(entry);
        }
    }
    const auto dot = file.rfind('.');
    const std::string extension = dot == std::string::npos ? "" : upperAscii(file.substr(dot + 1));
    std::vector<std::string> candidates;
    if (extension.empty()) {
        candidates = {file + ".COM", file + ".EXE", file + ".BAT"};
    } else if (extension == "COM" || extension == "EXE" || extension == "BAT") {
        candidates = {file};
    } else {
        return {};
    }
    for (const auto& dir : directories) {
        for (const auto& candidate : candidates) {
            const std::string found = m_files.findName(dir, candidate);
            if (found.empty()) {
                continue;
            }
            const std::string kind = upperAscii(candidate.substr(candidate.size() - 3));
            auto full = m_files.fullPath(dir.back() == '\\' || dir.back() == ':' ? dir + found : dir + "\\" + found);
            if (full) {
                return {kind == "BAT" ? Program::Batch : Program::Dos, *full};
            }
        }
    }
    return {};
}

bool Interpreter::runProgram(std::string_view text) {
    const CommandWord word = programWord(text);
    const std::string typed(trimBlanks(text).substr(0, word.name.size()));
    const auto base =
        word.name.substr(word.name.find_last_of("\\:") == std::string::npos ? 0 : word.name.find_last_of("\\:") + 1);
    const std::string baseName = base.substr(0, base.find('.'));
    for (const Tool& tool : m_tools) {
        if (tool.handles(baseName)) {
            return runTool(tool, baseName, word.tail);
        }
    }
    const FoundProgram program = findProgram(typed);
    switch (program.kind) {
    case Program::Batch: {
        std::vector<std::string> parameters{typed};
        for (auto& parameter : splitParameters(word.tail)) {
            parameters.push_back(std::move(parameter));
        }
        return startBatch(program.path, std::move(parameters), false);
    }
    case Program::Dos:
        return runDosProgram(typed, program.path, word.tail);
    case Program::None:
        break;
    }
    return fail("Bad command or file name - " + typed);
}

bool Interpreter::runDosProgram(std::string_view typed, const std::string& dosPath, std::string_view tail) {
    const auto dosbox = findDosbox();
    if (!dosbox) {
        return fail("Bad command or file name - " + std::string(typed) +
                    " (DOS programs need DOSBox, which is not installed)");
    }
    // DOSBox names files by their short form; a long name on the host has one of ours.
    const std::string program = m_files.GetShortPathNameA(dosPath).value_or(dosPath);
    const DosboxRun run = runDosbox(*dosbox, m_files, program + std::string(tail));
    if (!run.problem.empty()) {
        return fail("Cannot start DOSBox for " + std::string(typed) + " (" + run.problem + ")");
    }
    // DOSBox does not hand the program's exit code back.
    m_errorLevel = 0;
    return run.status == 0 ||
           fail("DOSBox ended with status " + std::to_string(run.status) + " running " + std::string(typed));
}

bool Interpreter::runTool(const Tool& tool, std::string_view upperName, std::string_view tail) {
    const ToolOutput out{[this](std::string_view line) { writeLine(line); },
                         [this](std::string_view line) { reportError(line); }};
    m_errorLevel = tool.run(upperName, splitArguments(tail), m_files, out);
    if (m_errorLevel != 0) {
        ++m_failures;
        return false;
    }
    return true;
}

bool Interpreter::startBatch(const std::string& dosPath, std::vector<std::string> parameters, bool call) {
    auto bytes = m_files.readFile(dosPath);
    if (!bytes) {
        return fail(bytes.error());
    }
    auto lines = splitBatchLines(*bytes);
    if (!lines) {
        return fail("Cannot run " + dosPath + ": line " + std::to_string(lines.error().line) + " " +
                    lines.error().reason);
    }
    BatchFrame frame{dosPath, std::move(*lines), 0, std::move(parameters)};
    if (!call && !m_frames.empty()) {
        // Without CALL the new batch file takes the place of the running one, as DOS does.
        m_frames.back() = std::move(frame);
        return true;
    }
    if (m_frames.size() >= kMaxBatchDepth) {
        return fail("Batch files nested too deeply - " + dosPath);
    }
    m_frames.push_back(std::move(frame));
    if (call) {
        runFrames(m_frames.size());
    }
    return true;
}

// Batch control commands.

bool Interpreter::cmdCall(std::string_view tail, const Redirections&) {
    const std::string_view text = trimBlanks(tail);
    const CommandWord word = programWord(text);
    const std::string typed(text.substr(0, word.name.size()));
    const FoundProgram program = findProgram(typed);
    if (program.kind != Program::Batch) {
        return dispatch(text, Redirections{});
    }
    std::vector<std::string> parameters{typed};
    for (auto& parameter : splitParameters(word.tail)) {
        parameters.push_back(std::move(parameter));
    }
    return startBatch(program.path, std::move(parameters), true);
}

bool Interpreter::cmdEcho(std::string_view tail, const Redirections&) {
    if (tail.empty() || (isBlank(tail.front()) && trimBlanks(tail).empty())) {
        writeLine(m_echo ? "ECHO is on" : "ECHO is off");
        return true;
    }
    const char delimiter = tail.front();
    if (delimiter == '"' || delimiter == '[' || delimiter == '+' || delimiter == '\\') {
        writeLine(tail);
        return true;
    }
    std::string_view text = tail.substr(1);
    if (isBlank(delimiter)) {
        while (!text.empty() && isBlank(text.front())) {
            text.remove_prefix(1);
        }
        const std::string_view word = trimBlanks(text);
        if (equalsIgnoringCase(word, "ON") || equalsIgnoringCase(word, "OFF")) {
            m_echo = equalsIgnoringCase(word, "ON");
            return true;
        }
    }
    writeLine(text);
    return true;
}

bool Interpreter::cmdRem(std::string_view, const Redirections&) {
    return true;
}

bool Interpreter::cmdExit(std::string_view, const Redirections&) {
    m_exitRequested = true;
    return true;
}

bool Interpreter::cmdShift(std::string_view, const Redirections&) {
    if (!m_frames.empty() && !m_frames.back().parameters.empty()) {
        m_frames.back().parameters.erase(m_frames.back().parameters.begin());
    }
    return true;
}

bool Interpreter::cmdGoto(std::string_view tail, const Redirections&) {
    if (m_frames.empty()) {
        return true; // at the prompt DOS ignores GOTO
    }
    std::string_view target = trimBlanks(tail);
    while (!target.empty() && (target.front() == ':' || target.front() == '=' || target.front() == ',')) {
        target = trimBlanks(target.substr(1));
    }
    std::string_view rest = target;
    const std::string label = upperAscii(takeWord(rest)).substr(0, 8);
    BatchFrame& frame = m_frames.back();
    for (std::size_t i = 0; i < frame.lines.size() && !label.empty(); ++i) {
        std::string_view line = trimBlanks(frame.lines[i]);
        if (line.empty() || line.front() != ':') {
            continue;
        }
        line.remove_prefix(1);
        // DOS compares the first eight characters of a label; blanks after it do not count.
        if (upperAscii(takeWord(line)).substr(0, 8) == label) {
            frame.next = i + 1;
            return true;
        }
    }
    // DOS ends the batch file here; the message still says where the GOTO stood.
    const std::string message = "Label not found - " + std::string(target) + where();
    m_frames.pop_back();
    m_console.writeError(message);
    ++m_failures;
    return false;
}

bool Interpreter::cmdIf(std::string_view tail, const Redirections& redirections) {
    std::string_view text = trimBlanks(tail);
    bool negate = false;
    if (startsWithKeyword(text, "NOT")) {
        negate = true;
        text = trimBlanks(text.substr(3));
    }
    bool condition = false;
    if (startsWithKeyword(text, "ERRORLEVEL")) {
        text.remove_prefix(10);
        // "IF ERRORLEVEL == 1" and "IF ERRORLEVEL=4" are met in real batch files and mean the same.
        while (!text.empty() && (isBlank(text.front()) || text.front() == '=')) {
            text.remove_prefix(1);
        }
        const std::string_view number = takeWord(text);
        int level = 0;
        const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), level);
        if (number.empty() || error != std::errc() || end != number.data() + number.size()) {
            return fail("Syntax error");
        }
        condition = m_errorLevel >= level;
    } else if (startsWithKeyword(text, "EXIST")) {
        text.remove_prefix(5);
        const std::string_view file = takeWord(text);
        if (file.empty()) {
            return fail("Syntax error");
        }
        condition = exists(file);
    } else {
        // The first string runs up to "==" or a blank; quotes mean nothing to DOS here.
        std::size_t end = 0;
        while (end < text.size() && !isBlank(text[end]) && text.substr(end, 2) != "==") {
            ++end;
        }
        const std::string_view left = text.substr(0, end);
        text = trimBlanks(text.substr(end));
        if (left.empty() || text.substr(0, 2) != "==") {
            return fail("Syntax error");
        }
        text.remove_prefix(2);
        const std::string_view right = takeWord(text);
        condition = left == right;
    }
    if (trimBlanks(text).empty()) {
        return fail("Syntax error");
    }
    if (condition != negate) {
        return dispatch(text, redirections);
    }
    return true;
}

bool Interpreter::cmdFor(std::string_view tail, const Redirections& redirections) {
    std::string_view text = trimBlanks(tail);
    const std::string_view name = takeWord(text);
    if (name.size() != 2 || name.front() != '%' || !startsWithKeyword(text, "IN")) {
        return fail("Syntax error");
    }
    text = trimBlanks(text.substr(2));
    const auto close = text.find(')');
    if (text.empty() || text.front() != '(' || close == std::string_view::npos) {
        return fail("Syntax error");
    }
    const std::string_view set = text.substr(1, close - 1);
    text = trimBlanks(text.substr(close + 1));
    if (!startsWithKeyword(text, "DO")) {
        return fail("Syntax error");
    }
    const std::string_view command = trimBlanks(text.substr(2));
    if (m_inFor) {
        return fail("FOR cannot be nested");
    }
    std::vector<std::string> items;
    for (const auto& item : splitParameters(set)) {
        if (!hasWildcards(item)) {
            items.push_back(item);
            continue;
        }
        const auto split = item.find_last_of("\\:");
        const std::string prefix = split == std::string::npos ? "" : item.substr(0, split + 1);
        if (auto matches = matchFiles(item, false)) {
            for (const auto& match : *matches) {
                items.push_back(prefix + match.name);
            }
        }
    }
    m_inFor = true;
    bool succeeded = true;
    for (const auto& item : items) {
        succeeded = dispatch(replaceAll(command, name, item), redirections) && succeeded;
        if (m_exitRequested) {
            break;
        }
    }
    m_inFor = false;
    return succeeded;
}

bool Interpreter::cmdSet(std::string_view tail, const Redirections&) {
    std::string_view text = tail;
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        for (const auto& [name, value] : m_environment) {
            writeLine(name + "=" + value);
        }
        return true;
    }
    const auto equals = text.find('=');
    if (equals == std::string_view::npos || equals == 0) {
        return fail("Syntax error");
    }
    setVariable(text.substr(0, equals), text.substr(equals + 1));
    return true;
}

bool Interpreter::cmdPath(std::string_view tail, const Redirections&) {
    const std::string_view text = trimBlanks(tail.empty() ? tail : tail.substr(1));
    if (tail.empty() || text.empty()) {
        writeLine("PATH=" + variable("PATH").value_or(""));
        return true;
    }
    setVariable("PATH", text == ";" ? std::string_view{} : text);
    return true;
}

bool Interpreter::cmdPause(std::string_view, const Redirections&) {
    write("Press any key to continue . . .");
    (void)readKey();
    writeLine("");
    return true;
}

bool Interpreter::cmdCls(std::string_view, const Redirections&) {
    write("\f"); // a form feed: the console window clears its pane on it
    return true;
}

bool Interpreter::cmdVer(std::string_view, const Redirections&) {
    writeLine("");
    writeLine("Spindeck command interpreter version 1.0");
    writeLine("");
    return true;
}

bool Interpreter::cmdMore(std::string_view, const Redirections&) {
    if (m_io.input) {
        write(std::string_view(*m_io.input).substr(std::min(m_io.inputPos, m_io.input->size())));
        m_io.inputPos = m_io.input->size();
    }
    return true;
}

bool Interpreter::cmdChoice(std::string_view tail, const Redirections&) {
    std::string choices = "YN";
    bool showChoices = true;
    bool caseSensitive = false;
    std::optional<char> timeoutChoice;
    std::optional<std::chrono::seconds> timeout;
    std::string text;
    std::string_view rest = tail;
    while (!trimBlanks(rest).empty()) {
        const std::string_view word = takeWord(rest);
        if (word.front() != '/') {
            text += (text.empty() ? "" : " ") + std::string(word);
            continue;
        }
        const char option = upperAscii(word.size() > 1 ? word[1] : ' ');
        std::string_view value = word.substr(std::min<std::size_t>(2, word.size()));
        if (!value.empty() && value.front() == ':') {
            value.remove_prefix(1);
        }
        if (option == 'C' && !value.empty()) {
            choices = std::string(value);
        } else if (option == 'N') {
            showChoices = false;
        } else if (option == 'S') {
            caseSensitive = true;
        } else if (option == 'T' && value.size() >= 3 && value[1] == ',') {
            int seconds = 0;
            const auto digits = value.substr(2);
            const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), seconds);
            if (error != std::errc() || end != digits.data() + digits.size() || seconds < 0 || seconds > 99) {
                return fail("CHOICE: invalid switch - " + std::string(word));
            }
            timeoutChoice = value[0];
            timeout = std::chrono::seconds(seconds);
        } else {
            return fail("CHOICE: invalid switch - " + std::string(word));
        }
    }
    if (!caseSensitive) {
        choices = upperAscii(choices);
    }
    const auto indexOf = [&](char key) { return choices.find(caseSensitive ? key : upperAscii(key)); };
    if (timeoutChoice && indexOf(*timeoutChoice) == std::string::npos) {
        return fail("CHOICE: timeout default not in the choices");
    }
    std::string shown = text;
    if (showChoices) {
        shown += "[";
        for (std::size_t i = 0; i < choices.size(); ++i) {
            shown += (i == 0 ? "" : ",") + std::string(1, choices[i]);
        }
        shown += "]?";
    }
    write(shown);
    std::size_t chosen = std::string::npos;
    while (chosen == std::string::npos) {
        const auto key = readKey(timeout);
        if (!key) {
            chosen = timeoutChoice ? indexOf(*timeoutChoice) : 0;
            break;
        }
        chosen = indexOf(*key);
    }
    writeLine(std::string(1, choices[chosen]));
    m_errorLevel = static_cast<int>(chosen) + 1;
    return true;
}

} // namespace spindeck::shell
