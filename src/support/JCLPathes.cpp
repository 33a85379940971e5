#include "support/JCLPathes.h"

#include <vector>

#include "support/ShellCom.h"

namespace rz {

std::string ShortPathOf(const std::string& path) {
    DWORD needed = ::GetShortPathNameA(path.c_str(), nullptr, 0);
    if (needed == 0) return {};
    std::vector<char> buffer(needed);
    DWORD length = ::GetShortPathNameA(path.c_str(), buffer.data(), needed);
    if (length == 0 || length >= needed) return {};
    return std::string(buffer.data(), length);
}

std::string LongPathOf(const std::string& path) {
    // The shell parses "" as the desktop, which is no answer for an empty path.
    if (path.empty()) return path;
    ComApartment com;
    unique_pidl pidl = ParsePath(path);
    if (!pidl) return path;
    std::string found = PathFromIdList(pidl.get());
    return found.empty() ? path : found;
}

}  // namespace rz
