#pragma once
// Folder walking with deletion, deletion to the recycle bin, and the file
// tests everyone needs.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/Seam.h"

namespace rz {

struct ProcessFolderOptions {
    std::string folder;  // ends with "\"
    bool recurse = false;
    std::string mask = "*.*";
    std::vector<std::string>* directoryList = nullptr;
    std::vector<std::string>* fileList = nullptr;
    bool namesOnly = false;
    bool deleteFiles = false;
    bool useRecycleBin = false;
    bool removeFolders = false;
    int filesFound = 0;    // out
    int filesDeleted = 0;  // out
    bool ignoreErrors = false;
    // Names are taken as they are (the "\\?\" form of absolute paths), so
    // that names the path rules would change ("a.", "aux") are reached too.
    bool exactNames = false;
    std::function<bool()> continueTest;
};

// Returns the number of failed deletions.
int ProcessFolder(ProcessFolderOptions& options);
// Deletes the folder (no trailing "\") with everything in it; silent on
// failure. Folder links inside are removed as links, never followed.
void DeleteFolderTree(const std::string& path, bool exactNames = false);
// Removes a junction or folder link (no trailing "\") itself; false when the
// name is no link the platform lets us remove as such, which then stays.
bool RemoveFolderLink(const std::string& path, bool exactName = false);
bool RecycleFile(const std::string& path, bool silent, HWND owner);

// MoveFileA on a folder: the store moved to its backup and back.
extern Seam<bool(const std::string& from, const std::string& to)> RenameFolder;

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// A file or a folder.
bool PathExists(const std::string& path);

// The attributes of a path, or INVALID_FILE_ATTRIBUTES and the system's
// reason; a drive without its medium answers without a system error box.
struct PathLookup {
    DWORD attributes;
    DWORD error;
};
extern Seam<PathLookup(const std::string& path)> LookUpPath;
// True only when the system says nothing is there (or a path ending in "\"
// names a file). A drive that is not ready, a refused access or a network
// that does not answer may still lead somewhere.
bool PlainlyMissing(const std::string& path);
// The same of a path already looked up.
bool PlainlyMissing(const std::string& path, const PathLookup& found);

}  // namespace rz
