#include "helptexts.h"

#include <initializer_list>
#include <string_view>

namespace spindeck::help {

namespace {

std::string joinLines(std::initializer_list<std::string_view> lines) {
    std::string text;
    bool first = true;
    for (const std::string_view line : lines) {
        if (!first) {
            text += kLineBreak;
        }
        text += line;
        first = false;
    }
    return text;
}

} // namespace

std::string commandsText() {
    return joinLines(
        {"Supported Commands:", "", "CTRL-[DriveLetter]  - Changes Drives", "F5 - Toggle Music", "F6 - Toggle Sounds"});
}

std::string configuringText() {
    return joinLines({
        "Customize the look of Spindeck by modifying QRV.INI.",
        "   Place desired values for variables between the = and ;",
        "   i.e. mMIDI=Yahoo.mid;",
        "Program Descriptions and Installation ",
        "Instructions should be placed in a file called QRV.TXT "
        "located in related program directory. Installation Scripts "
        "may be made by placing Batch style command lines under the "
        "heading [INSTALL [Program Name]] within the QRV.TXT file.",
        "   ie. [INSTALL Death Rally]",
        "The Reserved commands <TEMP> and <PATH> are available to you in the qrv.txt file",
        "   The <TEMP> tag specifies a temp directory that you can use for work, such as unzipping or unarjing "
        "files.",
        "   The <PATH> tag refers to the directory the user has chosen to install the program to.",
        "   ie.  pkunzip -d -o yahoo.zip <TEMP>",
        "        copy <temp>\\*.* <PATH>",
        "        deltree /y <temp>",
        " (The Above Unzips the file yahoo.zip into a temp directory, then copies it's contents to the directory "
        "specifeid by the user.)",
        "",
        "NOTE: Tags DO NOT have trailing backslashes!",
    });
}

std::string aboutText() {
    return joinLines({"Spindeck", "Written by the Spindeck developers.", "Copyright (c) 2026 the Spindeck developers.",
                      "This program comes with no warranty of any kind.", "Contact: spindeck@example.org"});
}

} // namespace spindeck::help
