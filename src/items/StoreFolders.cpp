#include "items/StoreFolders.h"

#include <windows.h>

#include "platform/FileIO.h"
#include "support/UcvSysIO.h"

namespace rz {

namespace {
// A discard folder that could not be deleted keeps its name: the next one
// takes the next number.
constexpr int kDiscardNames = 100;

std::string DiscardName(const std::string& parent, int n) {
    return parent + kDiscardFolderName + (n == 0 ? std::string() : std::to_string(n));
}

// Everything but the mark first, and the mark only when all else is gone: a
// deletion cut short or refused leaves a folder still known as ours.
void DeleteMarkedFolder(const std::string& folder) {
    const std::string mark = folder + "\\" + kDiscardMarkName;
    std::vector<std::string> folders;
    std::vector<std::string> files;
    ProcessFolderOptions list;
    list.folder = folder + "\\";
    list.directoryList = &folders;
    list.fileList = &files;
    list.ignoreErrors = true;
    ProcessFolder(list);
    bool left = false;
    for (const std::string& sub : folders) {
        DeleteFolderTree(sub.substr(0, sub.size() - 1));
        left = left || PathExists(sub.substr(0, sub.size() - 1));
    }
    for (const std::string& file : files)
        if (file != mark && !::DeleteFileW(WidePath(file).c_str())) left = true;
    if (left) return;
    ::DeleteFileW(WidePath(mark).c_str());
    ::RemoveDirectoryW(WidePath(folder).c_str());
}
}  // namespace

bool DiscardFolder(const std::string& folder) {
    if (!DirectoryExists(folder)) return true;
    const std::string parent = folder.substr(0, folder.find_last_of('\\') + 1);
    RemoveDiscardedFolders(parent);
    // Without its mark (a full disk) the folder is still deleted now; only a
    // leftover of it would then stay for good.
    WriteWholeFile(folder + "\\" + kDiscardMarkName, std::string());
    for (int n = 0; n < kDiscardNames; ++n) {
        const std::string discard = DiscardName(parent, n);
        if (PathExists(discard)) continue;
        if (!::MoveFileW(WidePath(folder).c_str(), WidePath(discard).c_str())) break;
        DeleteMarkedFolder(discard);
        return true;
    }
    ClearDiscardMark(folder);
    return false;
}

void ClearDiscardMark(const std::string& folder) { ::DeleteFileW(WidePath(folder + "\\" + kDiscardMarkName).c_str()); }

std::vector<std::string> RemoveDiscardedFolders(const std::string& dataFolder) {
    std::vector<std::string> left;
    for (int n = 0; n < kDiscardNames; ++n) {
        const std::string discard = DiscardName(dataFolder, n);
        if (!FileExists(discard + "\\" + kDiscardMarkName)) continue;
        DeleteMarkedFolder(discard);
        if (PathExists(discard)) left.push_back(discard);
    }
    return left;
}

}  // namespace rz
