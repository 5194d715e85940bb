#include "foldercreation.h"

namespace spindeck::install {

namespace {

std::string childOf(const std::string& parent, const std::string& name) {
    return parent.ends_with('\\') ? parent + name : parent + "\\" + name;
}

FolderFailure cannotCreate(const std::string& reason) {
    return FolderFailure{"Cannot create the folder " + reason};
}

} // namespace

bool isRefusedInFolderName(char16_t c) {
    return std::u16string_view(u"<>/*?\"|").find(c) != std::u16string_view::npos;
}

FolderEntry parseFolderEntry(std::string_view text) {
    FolderEntry entry;
    if (text.size() >= 2 && text[1] == ':') {
        entry.drive = text[0];
        text.remove_prefix(2);
    }
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\\'), text.size());
        if (end > 0) {
            entry.names.emplace_back(text.substr(0, end));
        }
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return entry;
}

Expected<std::string, FolderFailure> createFolders(platform::DosFileSystem& files, std::string parent,
                                                   const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        const std::string found = files.findName(parent, name);
        if (found.empty()) {
            if (auto made = files.makeDirectory(childOf(parent, name)); !made) {
                return Unexpected{cannotCreate(made.error().message())};
            }
        } else if (files.findName(parent, name, true).empty()) {
            return Unexpected{cannotCreate(childOf(parent, name) + ": a file of that name is in the way")};
        }
        // A folder already there keeps its own spelling.
        parent = childOf(parent, found.empty() ? name : found);
    }
    return parent;
}

} // namespace spindeck::install
