#include "manager/ShellTarget.h"

#include "items/ItemKinds.h"
#include "support/JCLPathes.h"
#include "support/JCLShortCuts.h"
#include "support/UcvSysIO.h"
#include "support/UcvSysStr.h"

namespace rz {

namespace {

void Classify(ShellTarget& target, const std::string& path) {
    target.path = path;
    // A directory before any extension rule: "Backup.2023" is no file of type "2023".
    target.directory = DirectoryExists(path);
    target.extension = target.directory ? std::string() : FileExtension(path);
}

}  // namespace

bool ReadShellTarget(const std::string& fullPath, ShellTarget& target, ShortcutReader* reader) {
    Classify(target, fullPath);
    if (LowerCase(target.extension) != ".lnk") return true;
    std::string linked, arguments;
    if (reader) {
        reader->ResolveTarget(fullPath, linked, arguments);
    } else {
        ShortcutReader own;
        own.ResolveTarget(fullPath, linked, arguments);
    }
    // A target on a drive that is not ready or a server that does not answer
    // is taken, as the sweep would keep it.
    if (linked.empty() || PlainlyMissing(linked)) return false;
    // Only a short name has a "~" in it; asking the shell for the long form
    // costs more than reading the shortcut.
    Classify(target, linked.find('~') == std::string::npos ? linked : LongPathOf(linked));
    target.parameters = arguments;
    return true;
}

std::string CaptionOf(const ShellTarget& target) {
    const size_t cut = target.path.find_last_of("\\:");
    std::string name = cut == std::string::npos ? target.path : target.path.substr(cut + 1);
    // A drive root has no name of its own.
    if (name.empty()) return target.path.substr(0, target.path.find_last_not_of('\\') + 1);
    return target.directory ? name : NameWithoutExt(name);
}

}  // namespace rz
