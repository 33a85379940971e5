#include "support/UcvSysIO.h"

#include <shellapi.h>

#include "platform/FileIO.h"
#include "platform/Handles.h"

namespace rz {

namespace {

DWORD Attributes(const std::string& path) { return ::GetFileAttributesW(WidePath(path).c_str()); }

std::wstring PathForm(const std::string& path, bool exact) { return exact ? ExactWidePath(path) : WidePath(path); }

bool IsDirectory(const std::wstring& path) {
    const DWORD a = ::GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// One walk of ProcessFolder. Failures live here rather than in return values
// so that an exception leaving the walk does not lose the count so far.
class FolderWalk {
public:
    explicit FolderWalk(ProcessFolderOptions& options) : o_(options) {}

    void Walk(const std::string& folder);
    int failures = 0;
    bool counted = false;  // the exception in flight was counted already

private:
    std::wstring Wide(const std::string& path) const { return PathForm(path, o_.exactNames); }
    void SubFolder(const std::string& folder, DWORD attributes);
    void File(const std::string& folder, const std::string& name);
    ProcessFolderOptions& o_;
};

void FolderWalk::Walk(const std::string& folder) {
    WIN32_FIND_DATAW fd;
    unique_hfind find = MakeFindHandle(::FindFirstFileW(Wide(folder + o_.mask).c_str(), &fd));
    if (!find) {
        if (o_.removeFolders) ::RemoveDirectoryW(Wide(folder).c_str());
        return;
    }
    do {
        if (o_.continueTest && !o_.continueTest()) return;
        std::string name = NarrowName(fd.cFileName);
        if (name == "." || name == "..") continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) SubFolder(folder + name + "\\", fd.dwFileAttributes);
        else File(folder, name);
    } while (::FindNextFileW(find.get(), &fd));
    find.reset();
    if (o_.removeFolders) ::RemoveDirectoryW(Wide(folder).c_str());
}

void FolderWalk::SubFolder(const std::string& folder, DWORD attributes) {
    if (o_.directoryList) o_.directoryList->push_back(folder);
    if (!o_.recurse) return;
    // A junction or folder link: deleting through it would empty its target.
    bool link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if (link && (o_.deleteFiles || o_.removeFolders)) {
        if (o_.removeFolders) RemoveFolderLink(folder.substr(0, folder.size() - 1), o_.exactNames);
        return;
    }
    Walk(folder);
}

void FolderWalk::File(const std::string& folder, const std::string& name) {
    ++o_.filesFound;
    std::string path = folder + name;
    if (o_.fileList) o_.fileList->push_back(o_.namesOnly ? name : path);
    if (!o_.deleteFiles) return;
    try {
        // A failed plain delete is tolerated: the file stays and so does its folder.
        if (o_.useRecycleBin) RecycleFile(path, true, nullptr);
        else ::DeleteFileW(Wide(path).c_str());
        ++o_.filesDeleted;
    } catch (...) {
        ++failures;
        if (o_.ignoreErrors) return;
        counted = true;
        throw;
    }
}

}  // namespace

int ProcessFolder(ProcessFolderOptions& options) {
    options.filesFound = 0;
    options.filesDeleted = 0;
    // Only a folder that was there comes back; a missing one stays missing.
    bool existed = IsDirectory(PathForm(options.folder, options.exactNames));
    FolderWalk walk(options);
    try {
        walk.Walk(options.folder);
    } catch (...) {
        if (!walk.counted) ++walk.failures;
        if (!options.ignoreErrors) throw;
    }
    if (options.removeFolders && existed)
        ::CreateDirectoryW(PathForm(options.folder, options.exactNames).c_str(), nullptr);
    return walk.failures;
}

bool RemoveFolderLink(const std::string& path, bool exactName) {
    // Opened as the link itself, the handle tells whether the name really is
    // one: where the platform follows the link anyway (Wine and its Unix
    // links), it shows the target and the link is left alone.
    constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    unique_handle_kernel link =
        OwnedFile(::CreateFileW(PathForm(path, exactName).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!link) return false;
    BY_HANDLE_FILE_INFORMATION info{};
    bool isLink =
        ::GetFileInformationByHandle(link.get(), &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
    link.reset();
    // Removing a folder link removes the link, never what it points to.
    return isLink && ::RemoveDirectoryW(PathForm(path, exactName).c_str());
}

void DeleteFolderTree(const std::string& path, bool exactNames) {
    // An empty path would walk the root of the current drive.
    if (path.empty()) return;
    const std::wstring wide = PathForm(path, exactNames);
    DWORD a = ::GetFileAttributesW(wide.c_str());
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT)) {
        RemoveFolderLink(path, exactNames);
        return;
    }
    ProcessFolderOptions options;
    options.folder = path + "\\";
    options.recurse = true;
    options.deleteFiles = true;
    options.removeFolders = true;
    options.ignoreErrors = true;
    options.exactNames = exactNames;
    ProcessFolder(options);
    ::RemoveDirectoryW(wide.c_str());
}

bool RecycleFile(const std::string& path, bool silent, HWND owner) {
    // The shell takes a list of names ended by an empty one.
    std::string from = path;
    from.append(2, '\0');
    SHFILEOPSTRUCTA op{};
    op.hwnd = owner;
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_ALLOWUNDO;
    if (silent) op.fFlags |= FOF_NOCONFIRMATION | FOF_SILENT;
    return ::SHFileOperationA(&op) == 0;
}

bool FileExists(const std::string& path) {
    DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
    DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool PathExists(const std::string& path) { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }

namespace {
bool MoveFolder(const std::string& from, const std::string& to) {
    return ::MoveFileW(WidePath(from).c_str(), WidePath(to).c_str()) != FALSE;
}
}  // namespace

Seam<bool(const std::string&, const std::string&)> RenameFolder{&MoveFolder};

namespace {
PathLookup LookUpAttributes(const std::string& path) {
    const UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS);
    PathLookup found{Attributes(path), ERROR_SUCCESS};
    if (found.attributes == INVALID_FILE_ATTRIBUTES) found.error = ::GetLastError();
    ::SetErrorMode(oldMode);
    return found;
}
}  // namespace

Seam<PathLookup(const std::string&)> LookUpPath{&LookUpAttributes};

bool PlainlyMissing(const std::string& path) { return path.empty() || PlainlyMissing(path, LookUpPath(path)); }

bool PlainlyMissing(const std::string& path, const PathLookup& found) {
    if (path.empty()) return true;
    if (found.attributes != INVALID_FILE_ATTRIBUTES) {
        const bool wantsDirectory = path.back() == '\\' || path.back() == '/';
        return wantsDirectory && !(found.attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    switch (found.error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_DIRECTORY:
        case ERROR_INVALID_DRIVE: return true;
        default: return false;
    }
}

}  // namespace rz
