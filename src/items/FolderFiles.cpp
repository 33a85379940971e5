#include "items/FolderFiles.h"

#include <windows.h>

#include "platform/FileIO.h"
#include "platform/Handles.h"
#include "support/FileNames.h"

namespace rz {

bool FolderFiles::Has(const std::string& name) {
    if (!listed_) List();
    return keys_.count(FileNameKey(name)) > 0;
}

void FolderFiles::List() {
    listed_ = true;
    WIN32_FIND_DATAW found{};
    unique_hfind find = MakeFindHandle(::FindFirstFileW(WidePath(folder_ + "*").c_str(), &found));
    if (!find) return;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        keys_.insert(FileNameKey(NarrowName(found.cFileName)));
        if (found.cAlternateFileName[0]) keys_.insert(FileNameKey(NarrowName(found.cAlternateFileName)));
    } while (::FindNextFileW(find.get(), &found));
}

}  // namespace rz
