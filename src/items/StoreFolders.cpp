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

// The entries of a folder by their exact names: a store may hold names the
// path rules would change ("a.", "aux", "COM1."), which only the "\\?\"
// form reaches.
struct FolderEntries {
    std::vector<std::string> folders;  // each ends with "\\"
    std::vector<std::string> files;
};
FolderEntries EntriesOf(const std::string& folder) {
    FolderEntries entries;
    ProcessFolderOptions list;
    list.folder = folder + "\\";
    list.directoryList = &entries.folders;
    list.fileList = &entries.files;
    list.ignoreErrors = true;
    list.exactNames = true;
    ProcessFolder(list);
    return entries;
}

// Everything but the mark first, and the mark only once nothing else is
// left: a deletion cut short or refused leaves a folder still known as ours.
void DeleteMarkedFolder(const std::string& folder) {
    const std::string mark = folder + "\\" + kDiscardMarkName;
    FolderEntries entries = EntriesOf(folder);
    for (const std::string& sub : entries.folders) DeleteFolderTree(sub.substr(0, sub.size() - 1), true);
    for (const std::string& file : entries.files)
        if (file != mark) ::DeleteFileW(ExactWidePath(file).c_str());
    entries = EntriesOf(folder);
    if (!entries.folders.empty() || entries.files.size() != 1 || entries.files.front() != mark) return;
    ::DeleteFileW(ExactWidePath(mark).c_str());
    // Anything that came in meanwhile keeps the folder: it is marked again.
    if (!::RemoveDirectoryW(ExactWidePath(folder).c_str())) WriteWholeFile(mark, std::string());
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

void MarkBackupSaved(const std::string& backup) { WriteWholeFile(backup + "\\" + kSavedMarkName, std::string()); }

bool BackupWasSaved(const std::string& backup) { return FileExists(backup + "\\" + kSavedMarkName); }

void ClearDiscardMark(const std::string& folder) { ::DeleteFileW(WidePath(folder + "\\" + kDiscardMarkName).c_str()); }

std::vector<std::string> RemoveDiscardedFolders(const std::string& dataFolder) {
    std::vector<std::string> left;
    for (int n = 0; n < kDiscardNames; ++n) {
        const std::string discard = DiscardName(dataFolder, n);
        if (!FileExists(discard + "\\" + kDiscardMarkName)) continue;
        DeleteMarkedFolder(discard);
        if (::GetFileAttributesW(ExactWidePath(discard).c_str()) != INVALID_FILE_ATTRIBUTES) left.push_back(discard);
    }
    return left;
}

}  // namespace rz
