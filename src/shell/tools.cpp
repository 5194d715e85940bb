#include "tools.h"

#ifdef SPINDECK_WITH_ARCHIVE
#include "shell/archive/archivecommands.h"
#endif

namespace spindeck::shell {

std::vector<Tool> standardTools() {
    std::vector<Tool> tools;
#ifdef SPINDECK_WITH_ARCHIVE
    tools.push_back(
        Tool{archive::isArchiveCommand, [](std::string_view name, const std::vector<std::string>& args,
                                           platform::DosFileSystem& files, const ToolOutput& out) {
                 return archive::runArchiveCommand(name, args, files, archive::ArchiveOutput{out.print, out.error});
             }});
#endif
    return tools;
}

} // namespace spindeck::shell
