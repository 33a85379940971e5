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

bool ReadShellTarget(const std::string& fullPath, ShellTarget& target) {
    Classify(target, fullPath);
    if (LowerCase(target.extension) != ".lnk") return true;
    ShortcutReader reader;
    return ReadShortcutTarget(fullPath, target, reader);
}

bool ReadShortcutTarget(const std::string& linkPath, ShellTarget& target, ShortcutReader& reader) {
    std::string linked, arguments;
    reader.ResolveTarget(linkPath, linked, arguments);
    // A target on a drive that is not ready or a server that does not answer
    // is taken, as the sweep would keep it.
    if (linked.empty()) return false;
    const PathLookup found = LookUpPath(linked);
    if (PlainlyMissing(linked, found)) return false;
    // Only a short name has a "~" in it; asking the shell for the long form
    // costs more than reading the shortcut.
    target.path = linked.find('~') == std::string::npos ? linked : LongPathOf(linked);
    // A directory before any extension rule: "Backup.2023" is no file of type "2023".
    target.directory = found.attributes != INVALID_FILE_ATTRIBUTES && (found.attributes & FILE_ATTRIBUTE_DIRECTORY);
    target.extension = target.directory ? std::string() : FileExtension(target.path);
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
