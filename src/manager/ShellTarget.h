#pragma once
// What a path handed over by the shell - dropped on the tree or found in an
// imported folder - becomes as an item: a shortcut gives its target.

#include <string>

namespace rz {

struct ShellTarget {
    std::string path;
    std::string parameters;
    std::string extension;  // empty for a directory, whatever its name
    bool directory = false;
};

class ShortcutReader;

// False when fullPath is a shortcut whose target cannot be read or is gone.
bool ReadShellTarget(const std::string& fullPath, ShellTarget& target);
// The target of a file known to be a shortcut, read by reader (one for many
// in a row); false when it cannot be read or is gone.
bool ReadShortcutTarget(const std::string& linkPath, ShellTarget& target, ShortcutReader& reader);
// The target's name: a directory's whole, a file's without its extension,
// a drive root's path.
std::string CaptionOf(const ShellTarget& target);

}  // namespace rz
