#include "tools.h"

#include "shell/archive/archivecommands.h"

namespace spindeck::shell {

std::vector<Tool> standardTools() {
    std::vector<Tool> tools;
    tools.push_back(
        Tool{archive::isArchiveCommand, [](std::string_view name, const std::vector<std::string>& args,
                                           platform::DosFileSystem& files, const ToolOutput& out) {
                 return archive::runArchiveCommand(name, args, files, archive::ArchiveOutput{out.print, out.error});
             }});
    return tools;
}

} // namespace spindeck::shell
