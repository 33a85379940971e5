#pragma once
// Helpers shared by the test suites: temporary folders and file I/O.

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace rz {
class TImageList;
}

namespace rztest {

// A u8"" literal as the program's strings hold it.
inline std::string U8(std::u8string_view text) { return std::string(text.begin(), text.end()); }

// A fresh folder under the temp directory, removed with its content at scope exit.
// Path() ends with a backslash.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& rel) const { return path_ + rel; }

private:
    std::string path_;
};

// A program of the system, in the Windows directory ("notepad.exe").
std::string SystemProgram(const char* name);
// The largest difference of a colour channel between an image of list and
// the shell's small icon of path drawn the same way: 0 to 2 (rounding of
// translucent pixels) when the slot shows that file's icon.
int IconDifference(const rz::TImageList& list, int slot, const std::string& path);

void WriteFile(const std::string& path, const std::string& content);
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);
bool DirExists(const std::string& path);
void MakeDir(const std::string& path);
void RemoveTree(const std::string& path);

// The block the shell hands over with WM_DROPFILES: DROPFILES, then the
// NUL-separated UTF-16 paths and a closing NUL. The receiver frees it.
HGLOBAL MakeDrop(const std::vector<std::string>& paths, POINT at);

// A shortcut file made through the shell's link interface, as the shell
// makes them; throws when the shell refuses.
void MakeShortcut(const std::string& lnk, const std::string& target, const std::string& arguments);

// A folder link made for a test: a symbolic link where the system makes one
// for us, a Unix symbolic link under Wine (whose own calls cannot make one).
// Removed as a link at scope exit. Paths without trailing backslash.
class FolderLink {
public:
    FolderLink(const std::string& link, const std::string& target);
    ~FolderLink();
    FolderLink(const FolderLink&) = delete;
    FolderLink& operator=(const FolderLink&) = delete;
    // False when no kind of link could be made here: the test skips.
    bool Made() const { return made_; }
    // The link was moved with its folder: it is removed from there.
    void MovedTo(const std::string& link);

private:
    std::string link_;
    std::string unixLink_;  // set when made on the Unix side
    bool made_ = false;
};

// GDI objects the process holds. Wine's GetGuiResources answers 0, so there it
// is the high-water mark of the handle table, which a leak raises.
unsigned GdiObjectsInUse();

}  // namespace rztest
