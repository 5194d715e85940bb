#include "batchrunner.h"

namespace spindeck::platform {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string withoutQuotes(std::string word) {
    std::erase(word, '"');
    return word;
}

} // namespace

std::vector<std::string> commandLineWords(std::string_view commandLine) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (const char c : commandLine) {
        if (isBlank(c) && !quoted) {
            if (inWord) {
                words.push_back(std::move(word));
                word.clear();
                inWord = false;
            }
            continue;
        }
        if (c == '"') {
            quoted = !quoted;
        }
        word += c;
        inWord = true;
    }
    if (inWord) {
        words.push_back(std::move(word));
    }
    if (!words.empty()) {
        words.front() = withoutQuotes(std::move(words.front()));
    }
    return words;
}

std::vector<std::string> currentDirectoryArguments(const DosFileSystem& files) {
    std::vector<std::string> arguments;
    const char current = files.currentDrive();
    for (const Drive& drive : files.driveMap().drives()) {
        const std::string directory = files.currentDirectory(drive.letter);
        const bool atRoot = directory.size() <= 3;
        if (drive.letter != current && !atRoot) {
            arguments.insert(arguments.end(), {"--cd", directory});
        }
    }
    arguments.insert(arguments.end(), {"--cd", files.currentDirectory(current)});
    return arguments;
}

std::vector<std::string> interpreterArguments(const DosFileSystem& files, std::string_view commandLine) {
    std::vector<std::string> arguments = currentDirectoryArguments(files);
    std::vector<std::string> words = commandLineWords(commandLine);
    arguments.insert(arguments.end(), std::make_move_iterator(words.begin()), std::make_move_iterator(words.end()));
    return arguments;
}

} // namespace spindeck::platform
